#include "listing/PictureCheck.h"

#include "listing/Texts.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>

namespace zk::listing {

rules::PictureFacts examinePicture(const QString& folder, const QString& path) {
    rules::PictureFacts facts;
    const QFileInfo info(path);
    const QString target = info.canonicalFilePath(); // links followed; empty when it leads nowhere
    const QString home = QDir(folder).canonicalPath();
    facts.insideFolder = !target.isEmpty() && !home.isEmpty() && QFileInfo(target).absolutePath() == home;
    if (!facts.insideFolder) return facts;
    const QFileInfo real(target);
    facts.regularFile = real.isFile();
    if (!facts.regularFile) return facts;
    facts.size = real.size();
    QFile file(target);
    facts.readable = file.open(QIODevice::ReadOnly);
    if (!facts.readable || facts.size == 0 || facts.size > rules::PictureByteLimit) return facts;
    // Read once: the bytes checked are the bytes decoded.
    const QByteArray bytes = file.readAll();
    facts.size = bytes.size();
    facts.jpegMagic = rules::hasJpegMagic(bytes);
    if (!facts.jpegMagic) return facts;
    // The decoder takes a cut file for a whole one (the missing rows come out grey): the
    // markers are walked to the end of the image first.
    const rules::JpegEnd end = rules::jpegEnd(bytes);
    facts.whole = end == rules::JpegEnd::Whole;
    facts.cut = end == rules::JpegEnd::Cut;
    QBuffer buffer;
    buffer.setData(bytes);
    QImageReader reader(&buffer, "jpeg");
    // The header's size, read without decoding: a picture beyond what the reader may allocate
    // (the panel's thumbnail and preview decode through the same reader) is said as too many
    // pixels rather than as broken.
    const QSize pixels = reader.size();
    facts.width = pixels.width() > 0 ? pixels.width() : 0;
    facts.height = pixels.height() > 0 ? pixels.height() : 0;
    // The JPEG reader gives grey pictures a byte a pixel and every other one four.
    const int depth = reader.imageFormat() == QImage::Format_Grayscale8 ? 8 : 32;
    facts.decodedBytes = rules::decodedImageBytes(facts.width, facts.height, depth);
    facts.decodeLimit = qint64(QImageReader::allocationLimit()) << 20;
    // Decoded only when nothing else already stands against it.
    if (rules::pictureProblem(facts) != rules::PictureProblem::Broken) return facts;
    facts.decodes = !reader.read().isNull();
    return facts;
}

QString pictureProblemText(rules::PictureProblem problem, const rules::PictureFacts& facts) {
    using P = rules::PictureProblem;
    switch (problem) {
    case P::None: return {};
    case P::OutsideFolder: return texts::PictureOutsideFolder;
    case P::NotAFile: return texts::PictureNotAFile;
    case P::Unreadable: return texts::PictureUnreadable;
    case P::Empty: return texts::PictureEmpty;
    case P::TooLarge: return texts::PictureTooLarge;
    case P::NotJpeg: return texts::PictureNotJpeg;
    case P::Truncated: return texts::PictureTruncated;
    case P::TooManyPixels: return texts::PictureTooManyPixels.arg(facts.width).arg(facts.height);
    case P::Broken: return texts::PictureBroken;
    }
    return {};
}

QString unsendablePicture(const QString& folder, const QString& path) {
    const rules::PictureFacts facts = examinePicture(folder, path);
    const rules::PictureProblem problem = rules::pictureProblem(facts);
    if (problem == rules::PictureProblem::None) return {};
    return QFileInfo(path).fileName() + "：" + pictureProblemText(problem, facts);
}

QStringList unsendablePictures(const QString& folder, const QStringList& paths) {
    QStringList lines;
    for (const QString& path : paths)
        if (const QString line = unsendablePicture(folder, path); !line.isEmpty()) lines << line;
    return lines;
}

} // namespace zk::listing
