#include "localization/strftime_picture.h"

#include <algorithm>

namespace mirvane {
namespace {

constexpr QChar kQuote = u'\'';

// Builds a picture, holding back literal text until the next pattern so that a run holding
// letters, which the picture would read as patterns, can be quoted whole.
class PictureBuilder {
  public:
    void AddLiteral(QChar c) { literal_ += c; }

    void AddPattern(QStringView pattern) {
        FlushLiteral();
        picture_ += pattern;
    }

    // White space at either end is dropped: it is what a dropped conversion leaves behind.
    QString Finish() {
        while (!literal_.isEmpty() && literal_.back().isSpace()) {
            literal_.chop(1);
        }
        FlushLiteral();
        return picture_;
    }

  private:
    void FlushLiteral() {
        if (picture_.isEmpty()) {
            qsizetype start = 0;
            while (start < literal_.size() && literal_[start].isSpace()) {
                ++start;
            }
            literal_.remove(0, start);
        }
        const bool needsQuotes = std::any_of(literal_.cbegin(), literal_.cend(),
                                             [](QChar c) { return c.isLetter() || c == kQuote; });
        if (needsQuotes) {
            picture_ += kQuote;
            picture_ += QString(literal_).replace(kQuote, QStringLiteral("''"));
            picture_ += kQuote;
        } else {
            picture_ += literal_;
        }
        literal_.clear();
    }

    QString picture_;
    QString literal_;
};

bool IsFlag(QChar c) {
    return c == u'-' || c == u'_' || c == u'0' || c == u'^' || c == u'#';
}

}  // namespace

QString PictureFromStrftime(QStringView format) {
    PictureBuilder builder;
    const qsizetype size = format.size();
    qsizetype i = 0;
    while (i < size) {
        if (format[i] != u'%') {
            builder.AddLiteral(format[i]);
            ++i;
            continue;
        }
        ++i;
        bool unpadded = false;
        while (i < size && IsFlag(format[i])) {
            unpadded = unpadded || format[i] == u'-' || format[i] == u'_';
            ++i;
        }
        while (i < size && (format[i].isDigit() || format[i] == u'E' || format[i] == u'O')) {
            ++i;
        }
        if (i == size) {
            break;
        }
        switch (format[i].unicode()) {
            case u'H':
                builder.AddPattern(unpadded ? u"H" : u"HH");
                break;
            case u'k':
                builder.AddPattern(u"H");
                break;
            case u'I':
                builder.AddPattern(unpadded ? u"h" : u"hh");
                break;
            case u'l':
                builder.AddPattern(u"h");
                break;
            case u'M':
                builder.AddPattern(unpadded ? u"m" : u"mm");
                break;
            case u'S':
                builder.AddPattern(unpadded ? u"s" : u"ss");
                break;
            case u'p':
            case u'P':
                builder.AddPattern(u"tt");
                break;
            case u'T':
                builder.AddPattern(u"HH:mm:ss");
                break;
            case u'R':
                builder.AddPattern(u"HH:mm");
                break;
            case u'r':
                builder.AddPattern(u"hh:mm:ss tt");
                break;
            case u'%':
                builder.AddLiteral(u'%');
                break;
            case u'n':
            case u't':
                builder.AddLiteral(u' ');
                break;
            default:
                break;
        }
        ++i;
    }
    return builder.Finish();
}

}  // namespace mirvane
