#pragma once
// The pixel sizes of a grid's rows (or columns) with their running sums, so that the origin of
// any row and the row under any offset are found in logarithmic time and appending a row costs
// the same however many rows there are. Sizes are never negative; a size of 0 hides the row.
#include <cstdint>
#include <vector>

class CGridSizeIndex {
public:
    int Count() const { return int(m_sizes.size()); }
    int Size(int index) const { return m_sizes[std::size_t(index)]; }
    void SetSize(int index, int size);
    // Appends one entry, or changes nothing when memory runs out (std::bad_alloc).
    void Append(int size);
    void Truncate(int count);
    void Remove(int index);
    void Clear();

    // Sum of the sizes before index (0 <= index <= Count()).
    std::int64_t Offset(int index) const;
    std::int64_t Total() const { return Offset(Count()); }
    // The index whose span [Offset(i), Offset(i + 1)) holds offset; zero-sized entries are never
    // returned. -1 below 0, Count() at or beyond the total.
    int IndexAt(std::int64_t offset) const;

private:
    void Rebuild();

    std::vector<int> m_sizes;
    std::vector<std::int64_t> m_tree; // Fenwick tree, 1-based: m_tree[0] is unused
};
