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
    QBuffer buffer;
    buffer.setData(bytes);
    QImageReader reader(&buffer, "jpeg");
    facts.decodes = !reader.read().isNull();
    return facts;
}

QString pictureProblemText(rules::PictureProblem problem) {
    using P = rules::PictureProblem;
    switch (problem) {
    case P::None: return {};
    case P::OutsideFolder: return texts::PictureOutsideFolder;
    case P::NotAFile: return texts::PictureNotAFile;
    case P::Unreadable: return texts::PictureUnreadable;
    case P::Empty: return texts::PictureEmpty;
    case P::TooLarge: return texts::PictureTooLarge;
    case P::NotJpeg: return texts::PictureNotJpeg;
    case P::Broken: return texts::PictureBroken;
    }
    return {};
}

QString unsendablePicture(const QString& folder, const QString& path) {
    const rules::PictureProblem problem = rules::pictureProblem(examinePicture(folder, path));
    if (problem == rules::PictureProblem::None) return {};
    return QFileInfo(path).fileName() + "：" + pictureProblemText(problem);
}

QStringList unsendablePictures(const QString& folder, const QStringList& paths) {
    QStringList lines;
    for (const QString& path : paths)
        if (const QString line = unsendablePicture(folder, path); !line.isEmpty()) lines << line;
    return lines;
}

} // namespace zk::listing
