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
    bool whole = false;        // its segments run on to the end-of-image marker
    bool cut = false;          // the bytes run out before that marker
    int width = 0;             // the size its header gives; 0 when the header does not read
    int height = 0;
    qint64 decodedBytes = 0;   // what decoding it would allocate
    qint64 decodeLimit = 0;    // what the image reader allocates at most; 0 for no bound
    bool decodes = false;      // the whole picture decodes as a JPEG
};
enum class PictureProblem { None, OutsideFolder, NotAFile, Unreadable, Empty, TooLarge, NotJpeg, Truncated, TooManyPixels, Broken };
// The first reason the site would refuse the picture (or it must not be sent at all), in the
// order the facts are found: where it is, what it is, then its content.
PictureProblem pictureProblem(const PictureFacts& facts);
// Whether bytes begin as a JPEG file does (start of image, then a marker).
bool hasJpegMagic(const QByteArray& head);
// How a JPEG's markers, walked from its start, end: at the end-of-image marker (Whole), with
// the bytes running out before it (Cut), or at something that is no JPEG structure (Malformed).
// A decoder fills what a cut file lacks with grey and calls it read; this walk tells the cut
// file. Bytes after the end-of-image marker (some cameras append data) are not looked at; the
// end marker of an embedded thumbnail lies inside its segment and is skipped with it.
enum class JpegEnd { Whole, Cut, Malformed };
JpegEnd jpegEnd(const QByteArray& bytes);
// The bytes an image of this size and depth takes in memory: rows padded to 32 bits, as the
// image reader counts them against its allocation limit. -1 for a size it cannot hold.
qint64 decodedImageBytes(int width, int height, int bitsPerPixel);

// The file name as the browser writes it into a multipart form: a double quote, CR and LF
// percent-encoded, everything else as it is. The site shows the name it received.
QString multipartFileName(const QString& fileName);
// Whether the text the site shows for an uploaded picture names this file, as sent or as the
// browser encoded it.
bool pictureShownAs(const QString& shownText, const QString& fileName);

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
// The title as the form gets it: without the ASCII spaces, tabs and line breaks around it,
// which the site drops too (a full-width space is a character it keeps).
QString titleAsSent(const QString& title);
// Measured as sent.
bool titleTooLong(const QString& title);

} // namespace zk::listing::rules
