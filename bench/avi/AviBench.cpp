// Reading the guide clip at start-up, and the RLE8 decoder on a larger picture.
#include "Artwork.h"
#include "AviWriter.h"
#include "platform/AviReader.h"

#include <QImage>
#include <QRandomGenerator>
#include <benchmark/benchmark.h>

static void BM_ParseGuideClip(benchmark::State& state) {
    const QByteArray clip = zk::art::encodeAvi(zk::art::guideFrames(), zk::art::GuideFramesPerSecond,
                                               zk::art::AviCompression::Rle8);
    zk::AviReader reader;
    for (auto _ : state) benchmark::DoNotOptimize(reader.parse(clip));
    state.SetBytesProcessed(state.iterations() * clip.size());
}
BENCHMARK(BM_ParseGuideClip);

// A 640 x 480 frame of short runs and noise, the decoder's harder case.
static void BM_DecodeRle8Frame(benchmark::State& state) {
    QImage image(640, 480, QImage::Format_Indexed8);
    image.setColorCount(256);
    QRandomGenerator random(7);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) image.scanLine(y)[x] = uchar(random.bounded(x % 64 < 32 ? 2 : 256));
    const QByteArray rle = zk::art::encodeRle8(image);
    QByteArray indexes(640 * 480, '\0');
    for (auto _ : state) benchmark::DoNotOptimize(zk::AviReader::decodeRle8(rle, 640, 480, indexes));
    state.SetBytesProcessed(state.iterations() * rle.size());
}
BENCHMARK(BM_DecodeRle8Frame);
