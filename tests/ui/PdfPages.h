#pragma once

#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

#include "tests/ui/PopplerTool.h"

namespace quorrel::test {

// A printed PDF read back with poppler's tools: the words of every page with their boxes
// (pdftotext -bbox), the fonts (pdffonts) and the pictures (pdfimages). Boxes are in
// 0.1 mm from the top-left corner of the page, y downwards.
class PdfPages {
public:
    struct Box {
        double left = 0;
        double top = 0;
        double right = 0;
        double bottom = 0;
        double centreX() const { return (left + right) / 2; }
    };
    struct Word {
        QString text;
        Box box;
    };
    struct Page {
        double width = 0;  // 0.1 mm
        double height = 0;
        std::vector<Word> words;
    };

    explicit PdfPages(const QString& pdf) : pdf_(pdf) {
        const QString html = runPopplerTool("pdftotext", {"-bbox", pdf_, "-"});
        static const QRegularExpression pageTag(R"re(<page width="([\d.]+)" height="([\d.]+)">)re");
        static const QRegularExpression wordTag(
            R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">(.*?)</word>)re");
        const QStringList chunks = html.split(QStringLiteral("</page>"));
        for (const QString& chunk : chunks) {
            const auto pageMatch = pageTag.match(chunk);
            if (!pageMatch.hasMatch()) {
                continue;
            }
            Page page;
            page.width = tenths(pageMatch.captured(1));
            page.height = tenths(pageMatch.captured(2));
            auto it = wordTag.globalMatch(chunk);
            while (it.hasNext()) {
                const auto m = it.next();
                page.words.push_back(Word{unescape(m.captured(5)),
                                          Box{tenths(m.captured(1)), tenths(m.captured(2)),
                                              tenths(m.captured(3)), tenths(m.captured(4))}});
            }
            pages_.push_back(std::move(page));
        }
    }

    int pageCount() const { return static_cast<int>(pages_.size()); }
    // Pages count from 1.
    const Page& page(int number) const { return pages_.at(static_cast<std::size_t>(number - 1)); }

    // The box around a phrase: one word or words that follow one another on a page. Spaces
    // do not count, as pdftotext keeps the words of a fixed-pitch line together.
    std::optional<Box> find(int number, QString phrase) const {
        phrase.remove(QLatin1Char(' '));
        const auto& words = page(number).words;
        for (std::size_t i = 0; i < words.size(); ++i) {
            QString joined;
            Box box = words[i].box;
            for (std::size_t k = i; k < words.size() && joined.size() < phrase.size(); ++k) {
                joined += QString(words[k].text).remove(QLatin1Char(' '));
                box.right = words[k].box.right;
                box.bottom = std::max(box.bottom, words[k].box.bottom);
            }
            if (joined == phrase) {
                return box;
            }
        }
        return std::nullopt;
    }

    bool contains(int number, const QString& text) const {
        for (const Word& word : page(number).words) {
            if (word.text.contains(text)) {
                return true;
            }
        }
        return false;
    }

    // The words that start at x (within the tolerance), from the top of the page down.
    std::vector<Word> column(int number, double x, double tolerance) const {
        std::vector<Word> found;
        for (const Word& word : page(number).words) {
            if (std::abs(word.box.left - x) <= tolerance) {
                found.push_back(word);
            }
        }
        std::sort(found.begin(), found.end(),
                  [](const Word& a, const Word& b) { return a.box.top < b.box.top; });
        return found;
    }

    // The names of the fonts the document uses.
    QString fonts() const { return runPopplerTool("pdffonts", {pdf_}); }
    // The pages that carry a picture.
    std::vector<int> pagesWithImages() const {
        std::vector<int> result;
        const QStringList lines =
            runPopplerTool("pdfimages", {"-list", pdf_}).split(QLatin1Char('\n'));
        for (int i = 2; i < lines.size(); ++i) {
            const QStringList fields = lines[i].simplified().split(QLatin1Char(' '));
            if (fields.size() > 2 && fields[2] == QLatin1String("image")) {
                result.push_back(fields[0].toInt());
            }
        }
        return result;
    }

private:
    static double tenths(const QString& points) { return points.toDouble() * 254.0 / 72.0; }

    static QString unescape(QString text) {
        // Qt maps the space of some fixed-pitch fonts to U+0001 in the text it embeds.
        text.replace(QChar(1), QLatin1Char(' '));
        text.replace(QLatin1String("&amp;"), QLatin1String("&"));
        return text;
    }

    QString pdf_;
    std::vector<Page> pages_;
};

}  // namespace quorrel::test
