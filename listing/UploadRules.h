#pragma once
// The picture upload's rules that need no browser, workbook or disk: the order in which a
// folder's pictures are sent, whether enough are left, the description template and the
// byte counts of the site's limits.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>

namespace zk::listing::rules {

// The template file is read up to this many bytes; the rest is dropped.
constexpr int TemplateByteLimit = 9999;
// A title over this many bytes (30 full-width characters) goes through the title dialog.
constexpr int TitleByteLimit = 60;
// Slot text of the preview past the last picture.
inline const QString PictureEnd = QStringLiteral("END");

// File names sorted as the seller sees them in a folder: letters without regard to case, so
// a.JPG, b.jpg and c.jpg go in that order; names equal but for case keep a fixed order.
QStringList sortPictureNames(QStringList names);
// Whether a name is a JPEG picture's by its extension (.jpg in any case).
bool isPictureName(const QString& name);

// The site takes a picture of up to this many bytes.
constexpr qint64 PictureByteLimit = 10 * 1024 * 1024;

// What is known of one picture file before it is sent.
struct PictureFacts {
    bool insideFolder = false; // the name, links followed, ends in the picture folder itself
    bool regularFile = false;  // a plain file (not a folder, device or pipe)
    bool readable = false;
    qint64 size = 0;
    bool jpegMagic = false;    // the content begins as a JPEG does
    bool decodes = false;      // the whole picture decodes as a JPEG
};
enum class PictureProblem { None, OutsideFolder, NotAFile, Unreadable, Empty, TooLarge, NotJpeg, Broken };
// The first reason the site would refuse the picture (or it must not be sent at all), in the
// order the facts are found: where it is, what it is, then its content.
PictureProblem pictureProblem(const PictureFacts& facts);
// Whether bytes begin as a JPEG file does (start of image, then a marker).
bool hasJpegMagic(const QByteArray& head);

// Whether n pictures are left from `next` on and every one of them is still on disk.
bool enoughPictures(const QStringList& files, int next, int n, const std::function<bool(const QString&)>& exists);
// The path at i; PictureEnd past the end, empty below 0.
QString pictureAt(const QStringList& files, int i);

// The first `limit` bytes of a CP932 text at most, never ending inside a double-byte
// character.
QByteArray cutOnCharacter(const QByteArray& bytes, int limit = TemplateByteLimit);

// Fills the "%%" marks of the template in order from the cells of `firstColumn` on. The first
// empty cell ends the filling: its mark vanishes and later marks stay. A cell's own "%%" is
// text, never a mark.
QString expandDescription(const QString& text, int firstColumn, const std::function<QString(int column)>& cell);

// The title's length in the site's bytes: CP932, where a character that CP932 cannot hold
// counts as a double-byte one (the site shows it full width).
int titleBytes(const QString& title);
bool titleTooLong(const QString& title);

} // namespace zk::listing::rules
