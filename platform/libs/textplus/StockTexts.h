#pragma once
// The seller's stock texts for the description, kept in the data folder as textplus.txt: one
// text a line, in CP932 like the other files there, the user's alone. Texts holding characters
// CP932 has not ("♥") are kept whole: the file is then UTF-8, marked by its byte-order mark.
#include <QString>
#include <QStringList>

namespace zk::textplus {

class StockTexts {
public:
    explicit StockTexts(QString path) : path_(std::move(path)) {}

    // A missing file is an empty list.
    QStringList load() const;
    // Line breaks inside a text become spaces: a line is a text. False when it cannot be written.
    bool save(const QStringList& texts) const;
    QString path() const { return path_; }
    // The characters of the texts that CP932 cannot hold, each once, in order of appearance.
    static QString notInCp932(const QStringList& texts);

    static QString fileName() { return QStringLiteral("textplus.txt"); }

private:
    QString path_;
};

} // namespace zk::textplus
