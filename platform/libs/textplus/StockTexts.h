#pragma once
// The seller's stock texts for the description, kept in the data folder as textplus.txt: one
// text a line, in CP932 like the other files there, the user's alone.
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

    static QString fileName() { return QStringLiteral("textplus.txt"); }

private:
    QString path_;
};

} // namespace zk::textplus
