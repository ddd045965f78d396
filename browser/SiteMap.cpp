#include "browser/SiteMap.h"

#include "browser/Texts.h"

#include <algorithm>

namespace zk::browser::site {

namespace t = texts::check;

QString relistAddress(const QString& itemPageUrl, const QString& auctionHost) {
    const QString prefix = itemPageUrl.left(itemPageUrl.indexOf(QLatin1Char('.')) + 1);
    const QString id = itemPageUrl.mid(itemPageUrl.lastIndexOf(QLatin1Char('/')) + 1);
    return prefix + auctionHost + RelistPath + id;
}

QString completionAddress(const QString& auctionHost, const QString& auctionId) {
    return QStringLiteral("http://") + auctionHost + CompletionPath + CompletionItemQuery + auctionId;
}

QString auctionIdOf(const QString& href, const QString& auctionHost) {
    const QString at = auctionHost + ItemPagePath;
    const qsizetype from = href.indexOf(at);
    if (auctionHost.isEmpty() || from < 0) return {};
    QString id = href.mid(from + at.size());
    // The ID ends where the address goes on (a trailing slash, a query, a fragment).
    for (const QChar end : {QLatin1Char('/'), QLatin1Char('?'), QLatin1Char('#'), QLatin1Char('&')})
        if (const qsizetype cut = id.indexOf(end); cut >= 0) id.truncate(cut);
    return id;
}

QList<Element> elements(const Configuration& c) {
    QList<Element> all{
        {Page::Login, Look::Named, LoginField, Shape::Text},
        {Page::Login, Look::Named, PasswordField, Shape::Text},
        {Page::Login, Look::NoOtherInput, LoginField + '|' + PasswordField},
        {Page::LoggedIn, Look::Address, c.auctionHost + AuctionTopPath},
        {Page::Category, Look::Named, ConfirmElement, Shape::Button},
        {Page::ItemForm, Look::Named, c.titleField, Shape::Text},
        {Page::ItemForm, Look::Named, c.descriptionField, Shape::Text},
        {Page::ItemForm, Look::LinkText, HtmlTagLink},
        {Page::ItemForm, Look::InputValued, ToPicturePage, Shape::Button},
        {Page::ItemForm, Look::Named, SalesModeRadio, Shape::Radio},
        {Page::ItemForm, Look::Named, ClosingDateList, Shape::List, 1},
        {Page::ItemForm, Look::Named, ClosingTimeList, Shape::List, 1},
        {Page::ItemForm, Look::ById, SubmitElement, Shape::Button},
    };
    // The add buttons matter only while the definitions ask for more rows than the form shows.
    if (c.addsBankRows) all << Element{Page::ItemForm, Look::ById, AddBankElement, Shape::Button};
    if (c.addsPaymentRows) all << Element{Page::ItemForm, Look::ById, AddPaymentElement, Shape::Button};
    for (int k = 1; k <= PictureInputs; ++k)
        all << Element{Page::Pictures, Look::Named, PictureInput + QString::number(k), Shape::File};
    all << Element{Page::Confirmation, Look::Address, ConfirmationEnd}
        << Element{Page::Confirmation, Look::InputValued, AgreeButtonValue, Shape::Button}
        // Each list is known by its address and heading; what it shows of an item only when it
        // has one.
        << Element{Page::Selling, Look::Address, SellingMarker}
        << Element{Page::Selling, Look::Title, SellingHeading}
        << Element{Page::Selling, Look::LinkHref, c.auctionHost + ItemPagePath, Shape::Any, 0, true}
        << Element{Page::Sold, Look::Address, SoldMarker}
        << Element{Page::Sold, Look::Title, SoldHeading}
        << Element{Page::Sold, Look::LinkHref, c.auctionHost + ItemPagePath, Shape::Any, 0, true}
        << Element{Page::Unsold, Look::Address, UnsoldMarker}
        << Element{Page::Unsold, Look::Title, UnsoldHeading}
        << Element{Page::Unsold, Look::Named, AidList, Shape::Check, 0, true}
        << Element{Page::Unsold, Look::LinkHref, c.auctionHost + ItemPagePath, Shape::Any, 0, true}
        // Opened for an item the lists show, once they are read.
        << Element{Page::Completion, Look::Address, CompletionPath}
        << Element{Page::Completion, Look::LinkText, ItemPageLinkText}
        << Element{Page::ItemPage, Look::LinkText, c.relistLinkText}
        << Element{Page::RelistForm, Look::Title, EntryTitle}
        << Element{Page::RelistForm, Look::Named, ConfirmElement, Shape::Button};
    return all;
}

bool sendsToOpen(Page page) { return page == Page::Confirmation; }

namespace {

Shape shapeOf(const PageNode& n) {
    const QString tag = n.tag.toLower(), type = n.type.toLower();
    if (tag == QLatin1String("select")) return Shape::List;
    if (tag == QLatin1String("textarea")) return Shape::Text;
    if (tag == QLatin1String("button")) return Shape::Button;
    if (tag != QLatin1String("input")) return Shape::Any;
    if (type == QLatin1String("checkbox")) return Shape::Check;
    if (type == QLatin1String("radio")) return Shape::Radio;
    if (type == QLatin1String("file")) return Shape::File;
    if (type == QLatin1String("submit") || type == QLatin1String("button") || type == QLatin1String("image"))
        return Shape::Button;
    return Shape::Text;
}

QString shapeText(Shape s) {
    switch (s) {
    case Shape::Text: return t::ShapeText;
    case Shape::Check: return t::ShapeCheck;
    case Shape::Radio: return t::ShapeRadio;
    case Shape::List: return t::ShapeList;
    case Shape::File: return t::ShapeFile;
    case Shape::Button: return t::ShapeButton;
    case Shape::Any: break;
    }
    return {};
}

QString expectedText(const Element& e) {
    QString text;
    switch (e.look) {
    case Look::Named: text = t::ExpectNamed.arg(e.key); break;
    case Look::ById: text = t::ExpectById.arg(e.key); break;
    case Look::InputValued: return t::ExpectValued.arg(e.key);
    case Look::LinkText: return t::ExpectLinkText.arg(e.key);
    case Look::LinkHref: return t::ExpectLinkHref.arg(e.key);
    case Look::Address: return t::ExpectAddress.arg(e.key);
    case Look::Title: return t::ExpectTitle.arg(e.key);
    case Look::NoOtherInput: return t::ExpectNoOther.arg(QString(e.key).replace('|', QStringLiteral("、")));
    }
    if (e.shape != Shape::Any) text += QStringLiteral("：") + shapeText(e.shape);
    if (e.atLeast > 0) text += t::ExpectAtLeast.arg(e.atLeast);
    return text;
}

QList<const PageNode*> named(const Snapshot& page, const QString& key, bool byIdOnly) {
    QList<const PageNode*> found;
    for (const PageNode& n : page.nodes)
        if (n.id == key || (!byIdOnly && n.name == key)) found << &n;
    return found;
}

// How a group of elements of one name is seen: its first element's kind, the buttons of a
// radio group counted, a list's options counted.
QString describe(const QList<const PageNode*>& group) {
    const PageNode& first = *group.first();
    const Shape s = shapeOf(first);
    QString kind = shapeText(s);
    if (kind.isEmpty()) kind = first.tag.toLower();
    if (s == Shape::List) return t::FoundKind.arg(kind, t::FoundOptions.arg(first.options.size()));
    if (s == Shape::Radio) return t::FoundKind.arg(kind, t::FoundRadios.arg(group.size()));
    return kind;
}

// The page's inputs a person fills in: neither hidden nor a button.
bool asksForInput(const PageNode& n) {
    if (!n.visible) return false;
    const Shape s = shapeOf(n);
    if (s == Shape::Button || s == Shape::Any) return false;
    return n.type.toLower() != QLatin1String("hidden");
}

} // namespace

Finding judge(const Element& e, const Snapshot& page) {
    Finding f{e.page, e.key, expectedText(e), {}, State::Missing};
    const auto found = [&](const QString& what) {
        f.found = what;
        f.state = State::Found;
        return f;
    };
    const auto missing = [&](const QString& what) {
        f.found = what;
        f.state = State::Missing;
        return f;
    };
    switch (e.look) {
    case Look::Named:
    case Look::ById: {
        const QList<const PageNode*> group = named(page, e.key, e.look == Look::ById);
        if (group.isEmpty()) return missing(t::FoundNone);
        const QString seen = describe(group);
        const Shape s = shapeOf(*group.first());
        const int count = s == Shape::List ? int(group.first()->options.size()) : int(group.size());
        if ((e.shape != Shape::Any && s != e.shape) || count < e.atLeast) {
            f.found = seen;
            f.state = State::OtherKind;
            return f;
        }
        return found(seen);
    }
    case Look::InputValued:
        for (const PageNode& n : page.nodes)
            if (n.value == e.key && shapeOf(n) == Shape::Button) return found(t::FoundYes);
        return missing(t::FoundNone);
    case Look::LinkText:
        for (const PageLink& l : page.links)
            if (l.text.trimmed() == e.key) return found(t::FoundYes);
        return missing(t::FoundNone);
    case Look::LinkHref: {
        int n = 0;
        for (const PageLink& l : page.links) n += l.href.contains(e.key) ? 1 : 0;
        return n > 0 ? found(t::FoundLinks.arg(n)) : missing(t::FoundNone);
    }
    case Look::Address:
        return page.url.contains(e.key) ? found(t::FoundAddress.arg(page.url)) : missing(t::FoundAddress.arg(page.url));
    case Look::Title:
        return page.title.contains(e.key) ? found(t::FoundTitle.arg(page.title)) : missing(t::FoundTitle.arg(page.title));
    case Look::NoOtherInput: {
        const QStringList known = e.key.split('|');
        QStringList others;
        for (const PageNode& n : page.nodes) {
            const QString name = n.name.isEmpty() ? n.id : n.name;
            if (asksForInput(n) && !known.contains(name) && !others.contains(name)) others << name;
        }
        if (others.isEmpty()) return found(t::FoundNone);
        f.element = others.join(QStringLiteral("、"));
        f.found = t::FoundOtherInputs.arg(f.element);
        f.state = State::OtherKind;
        return f;
    }
    }
    return f;
}

QList<Finding> judgePage(const QList<Element>& table, Page page, const Snapshot& read) {
    QList<Finding> out;
    QList<qsizetype> itemElements;
    bool known = true, anyItem = false;
    for (const Element& e : table) {
        if (e.page != page) continue;
        out << judge(e, read);
        if (!e.withItems) {
            known = known && out.last().state == State::Found;
        } else {
            itemElements << out.size() - 1;
            anyItem = anyItem || out.last().state != State::Missing;
        }
    }
    // Only a page that is the list it should be may say it is empty: a changed page that lost
    // its items' links is missing them, whatever else it says.
    if (itemElements.isEmpty() || !known || anyItem || !read.text.contains(NoItemsText)) return out;
    for (const qsizetype k : itemElements) {
        out[k].found = t::EmptyNotChecked;
        out[k].state = State::Empty;
    }
    return out;
}

bool showsEmptyList(const QList<Finding>& findings) {
    return std::any_of(findings.begin(), findings.end(), [](const Finding& f) { return f.state == State::Empty; });
}

QList<Finding> judgeDefinitions(const QList<DefinedField>& fields, const Snapshot& form) {
    QList<Finding> all;
    for (const DefinedField& d : fields) {
        const QString kind = d.kind.toUpper();
        const bool indexed = kind == QLatin1String("COMBO") || kind == QLatin1String("RADIO");
        Finding f{Page::ItemForm, d.name,
                  indexed ? t::ExpectIndex.arg(d.name, kind, d.value) : t::ExpectDefined.arg(d.name, kind),
                  {}, State::Found};
        const QList<const PageNode*> group = named(form, d.name, false);
        if (group.isEmpty()) {
            f.found = t::FoundNone;
            f.state = State::Missing;
            all << f;
            continue;
        }
        f.found = describe(group);
        const Shape want = kind == QLatin1String("CHECK")   ? Shape::Check
                           : kind == QLatin1String("COMBO") ? Shape::List
                           : kind == QLatin1String("RADIO") ? Shape::Radio
                           : kind == QLatin1String("TEXT")  ? Shape::Text
                                                            : Shape::Any;
        const Shape s = shapeOf(*group.first());
        if (want != Shape::Any && s != want) f.state = State::OtherKind;
        if (f.state == State::Found && indexed) {
            bool number = false;
            const int index = d.value.trimmed().toInt(&number);
            const int offered = s == Shape::List ? int(group.first()->options.size()) : int(group.size());
            if (!number || index < 0) {
                f.found = t::FoundNotNumber.arg(d.value);
                f.state = State::OtherKind;
            } else if (index >= offered) {
                f.found = t::FoundNoValue.arg(index).arg(f.found);
                f.state = State::OtherKind;
            }
        }
        all << f;
    }
    return all;
}

} // namespace zk::browser::site
