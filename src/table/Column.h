#pragma once

#include <QString>
#include <QStringView>

namespace vastrel {

// How the table compares a column's cells when sorting.
enum class ColumnKind : int {
    Text = 0,       // German collation, numbers inside the text compared as numbers
    Number = 1,     // numerically
    SprintTime = 4, // as seconds
};

// How the rows are ordered by a column: the codes SortBy takes.
enum class SortDirection : int { None = 0, Ascending = 1, Descending = 2 };

// A row's cell flags are one bit a column: a table has at most this many columns.
inline constexpr int kMaxColumns = 64;

// Alignment codes as AddColumn takes them.
enum class ColumnAlignment : int { Left = 0, Right = 1, Center = 2 };

// The seven layout values of AddColumn, kept exactly as passed so that files carry them.
// The reserved values have no effect in this table; they are stored and written unchanged.
struct ColumnLayout {
    int reservedA = 10;
    int headerAlignment = 0;
    bool editable = true;
    int reservedB = 1;
    int cellAlignment = 0;
    int reservedC = 0;
    int kind = 0;

    friend bool operator==(const ColumnLayout&, const ColumnLayout&) = default;
};

struct Column {
    QString key;
    QString headerText;
    ColumnLayout layout;
    bool visible = true;
    int width = 0;      // twips
    int fixedWidth = 0; // twips; the narrowest the column may become, 0 for the default
    bool sumColumnFlag = false;
    bool pointsColumnFlag = false;

    ColumnKind Kind() const { return static_cast<ColumnKind>(layout.kind); }
    friend bool operator==(const Column&, const Column&) = default;
};

// Names a column by its number (from 1) or by its key.
class ColumnRef {
public:
    ColumnRef(int number) : number_(number) {}
    ColumnRef(QStringView key) : key_(key) {}
    ColumnRef(const QString& key) : key_(key) {}
    ColumnRef(const char16_t* key) : key_(key) {}

    bool IsNumber() const { return number_ > 0 || key_.isNull(); }
    int Number() const { return number_; }
    QStringView Key() const { return key_; }

private:
    int number_ = 0;
    QStringView key_;
};

} // namespace vastrel
