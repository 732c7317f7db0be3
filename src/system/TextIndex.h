#pragma once

#include <QString>
#include <QStringView>

#include <vector>

namespace vastrel {

// Numbers distinct texts in the order they first appear. An open-addressing table of its own:
// Qt 6.4's QHash hashing proved several times slower for the hundreds of thousands of short
// texts a competition has.
class TextIndex {
public:
    // The number of the text, and whether it was new.
    struct Entry {
        int index;
        bool added;
    };
    Entry Insert(QStringView text);
    const QString& At(int index) const { return texts_[static_cast<std::size_t>(index)]; }
    int Size() const { return static_cast<int>(texts_.size()); }
    const std::vector<QString>& Texts() const { return texts_; }

private:
    static std::size_t Hash(QStringView text);
    void Grow();

    std::vector<QString> texts_;
    std::vector<int> slots_; // -1 free, else an index into texts_
};

} // namespace vastrel
