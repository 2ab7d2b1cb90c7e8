#pragma once
// A cell class that the grid can create at run time: the grid is told which class to use for
// new cells, or to turn one cell into another class, by one of these records, not by a template
// argument. Each cell class has one static record; a class whose record has no creator is
// abstract and can not be instantiated.
#include <memory>

class CGridCellBase;

struct GridCellClass {
    const char* className;
    const GridCellClass* baseClass;
    std::unique_ptr<CGridCellBase> (*createObject)();

    bool IsDerivedFrom(const GridCellClass& base) const
    {
        for (const GridCellClass* c = this; c; c = c->baseClass) {
            if (c == &base)
                return true;
        }
        return false;
    }
};

// The creator of a class record: GridCellClass{"CMyCell", &CGridCell::Class, &CreateCellOf<CMyCell>}.
template <class Cell>
std::unique_ptr<CGridCellBase> CreateCellOf()
{
    return std::make_unique<Cell>();
}
