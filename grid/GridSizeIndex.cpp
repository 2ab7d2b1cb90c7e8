#include "grid/GridSizeIndex.h"

namespace {
int LowBit(int i) { return i & -i; }
} // namespace

void CGridSizeIndex::SetSize(int index, int size)
{
    const std::int64_t delta = std::int64_t(size) - m_sizes[std::size_t(index)];
    m_sizes[std::size_t(index)] = size;
    for (int i = index + 1; i <= Count(); i += LowBit(i))
        m_tree[std::size_t(i)] += delta;
}

void CGridSizeIndex::Append(int size)
{
    if (m_tree.empty())
        m_tree.push_back(0);
    // Node n covers the entries (n - lowbit(n), n], all of which but the new one are in the tree.
    const int n = Count() + 1;
    const std::int64_t node = size + Offset(n - 1) - Offset(n - LowBit(n));
    m_sizes.push_back(size);
    try {
        m_tree.push_back(node);
    } catch (...) {
        m_sizes.pop_back();
        throw;
    }
}

void CGridSizeIndex::Truncate(int count)
{
    if (count >= Count())
        return;
    // A node depends only on entries at or before it, so dropping the tail keeps the rest right.
    m_sizes.resize(std::size_t(count));
    m_tree.resize(std::size_t(count) + 1);
}

void CGridSizeIndex::Remove(int index)
{
    m_sizes.erase(m_sizes.begin() + index);
    Rebuild();
}

void CGridSizeIndex::Clear()
{
    m_sizes.clear();
    m_tree.clear();
}

std::int64_t CGridSizeIndex::Offset(int index) const
{
    std::int64_t sum = 0;
    for (int i = index; i > 0; i -= LowBit(i))
        sum += m_tree[std::size_t(i)];
    return sum;
}

int CGridSizeIndex::IndexAt(std::int64_t offset) const
{
    if (offset < 0)
        return -1;
    // Find the largest count of leading entries whose sum is still <= offset.
    int pos = 0;
    int step = 1;
    while (step * 2 <= Count())
        step *= 2;
    for (; step > 0; step /= 2) {
        if (pos + step <= Count() && m_tree[std::size_t(pos + step)] <= offset) {
            pos += step;
            offset -= m_tree[std::size_t(pos)];
        }
    }
    return pos;
}

void CGridSizeIndex::Rebuild()
{
    m_tree.assign(m_sizes.size() + 1, 0);
    for (int i = 1; i <= Count(); ++i) {
        m_tree[std::size_t(i)] += m_sizes[std::size_t(i - 1)];
        const int parent = i + LowBit(i);
        if (parent <= Count())
            m_tree[std::size_t(parent)] += m_tree[std::size_t(i)];
    }
}
