#pragma once

// Items joined into groups pair by pair (union-find over a parent array): each item points at
// another of its group, up to the group's root, which points at itself.

#include <QVector>

#include <numeric>

namespace p2w {

// count items, each a group of its own.
inline QVector<int> separateGroups(int count)
{
    QVector<int> parent(count);
    std::iota(parent.begin(), parent.end(), 0);
    return parent;
}

// The root of item i's group; halves the path on the way so that later look-ups are short.
inline int findRoot(QVector<int>& parent, int i)
{
    while (parent[i] != i)
        i = parent[i] = parent[parent[i]];
    return i;
}

// Joins the groups of a and b under b's root; whether they were two groups.
inline bool joinGroups(QVector<int>& parent, int a, int b)
{
    const int rootB = findRoot(parent, b);
    const int rootA = findRoot(parent, a);
    parent[rootA] = rootB;
    return rootA != rootB;
}

// The groups' items, the groups in the order of their first items and each group's items in
// order: the same page gives the same groups in the same order, whichever items are roots (a
// hash of roots would change its order from run to run, and with it what a page becomes).
inline QVector<QVector<int>> groupsInOrder(QVector<int>& parent)
{
    QVector<int> slotOfRoot(parent.size(), -1);
    QVector<QVector<int>> groups;
    for (int i = 0; i < parent.size(); ++i) {
        int& slot = slotOfRoot[findRoot(parent, i)];
        if (slot < 0) {
            slot = groups.size();
            groups.append(QVector<int>());
        }
        groups[slot].append(i);
    }
    return groups;
}

} // namespace p2w
