#pragma once
// The pictures of the seller's folder looked at on disk before any is sent: only plain files
// that sit in the folder itself (no link leading out of it), JPEG by their content, whole and
// decoded once, and within the site's size. Used by the upload and by anything that checks a
// listing beforehand.
#include "listing/UploadRules.h"

#include <QString>
#include <QStringList>

namespace zk::listing {

// The facts of one picture; `folder` is the picture folder (with or without separator).
rules::PictureFacts examinePicture(const QString& folder, const QString& path);
// The reason shown for a problem (with the picture's size where the reason names it); empty
// for None.
QString pictureProblemText(rules::PictureProblem problem, const rules::PictureFacts& facts = {});
// "name: reason" when the picture must not be sent; empty when it can go.
QString unsendablePicture(const QString& folder, const QString& path);
// The pictures of `paths` that must not be sent, one line each: "name: reason". Empty when all
// can go.
QStringList unsendablePictures(const QString& folder, const QStringList& paths);

} // namespace zk::listing
