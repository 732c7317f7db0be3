#include "server/PgTextArray.h"

using namespace Qt::StringLiterals;

namespace vastrel {

QString TextArrayLiteral(std::span<const QStringView> texts) {
    QString literal;
    qsizetype length = 2;
    for (QStringView text : texts) {
        length += text.size() + 3;
    }
    literal.reserve(length);
    literal += u'{';
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (i > 0) {
            literal += u',';
        }
        literal += u'"';
        for (QChar c : texts[i]) {
            if (c == u'"' || c == u'\\') {
                literal += u'\\';
            }
            literal += c;
        }
        literal += u'"';
    }
    literal += u'}';
    return literal;
}

QString RowCellsLiteral(const RowCells& cells, std::size_t width) {
    std::vector<QStringView> texts(width);
    for (std::size_t c = 0; c < width; ++c) {
        texts[c] = cells.At(c);
    }
    return TextArrayLiteral(texts);
}

bool ReadTextArray(QStringView literal, QString& buffer, std::vector<QStringView>& texts) {
    texts.clear();
    buffer.clear();
    buffer.reserve(literal.size());
    if (literal.size() < 2 || literal.front() != u'{' || literal.back() != u'}') {
        return false;
    }
    // Where each element starts and ends in the buffer; views are made once it stops growing.
    std::vector<std::pair<qsizetype, qsizetype>> spans;
    const qsizetype end = literal.size() - 1;
    qsizetype i = 1;
    if (i == end) {
        return true;
    }
    while (true) {
        const qsizetype start = buffer.size();
        if (literal[i] == u'"') {
            for (++i;; ++i) {
                if (i >= end) {
                    return false;
                }
                if (literal[i] == u'\\') {
                    if (++i >= end) {
                        return false;
                    }
                } else if (literal[i] == u'"') {
                    ++i;
                    break;
                }
                buffer += literal[i];
            }
        } else {
            const qsizetype from = i;
            while (i < end && literal[i] != u',') {
                if (literal[i] == u'{' || literal[i] == u'"' || literal[i] == u'\\') {
                    return false;
                }
                ++i;
            }
            const QStringView bare = literal.sliced(from, i - from).trimmed();
            if (bare.isEmpty()) {
                return false;
            }
            if (bare != u"NULL") {
                buffer += bare;
            }
        }
        spans.emplace_back(start, buffer.size() - start);
        if (i == end) {
            break;
        }
        if (literal[i] != u',') {
            return false;
        }
        ++i;
    }
    texts.reserve(spans.size());
    for (const auto& [start, length] : spans) {
        texts.push_back(QStringView(buffer).sliced(start, length));
    }
    return true;
}

QString IntArrayLiteral(std::span<const int> values) {
    QString literal = u"{"_s;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i > 0) {
            literal += u',';
        }
        literal += QString::number(values[i]);
    }
    return literal + u'}';
}

bool ReadIntArray(QStringView literal, std::vector<int>& values) {
    values.clear();
    if (literal.size() < 2 || literal.front() != u'{' || literal.back() != u'}') {
        return false;
    }
    const QStringView inner = literal.sliced(1, literal.size() - 2);
    if (inner.isEmpty()) {
        return true;
    }
    for (QStringView part : inner.tokenize(u',')) {
        bool ok = false;
        const int value = part.toInt(&ok);
        if (!ok) {
            return false;
        }
        values.push_back(value);
    }
    return true;
}

} // namespace vastrel
