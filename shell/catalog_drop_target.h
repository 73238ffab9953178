// A view onto which documents can be dragged and dropped on a catalog (the
// catalog tree); the document list drags onto it without knowing the view.
#pragma once
#include <windows.h>

#include <string>

class CatalogDropTarget {
public:
    virtual ~CatalogDropTarget() = default;
    // Highlights the catalog under a screen point, or none; true when there
    // is one.
    virtual bool HighlightDropTarget(POINT screen) = 0;
    // The highlighted catalog's path ("" when none); the highlight goes.
    virtual std::string TakeDropTarget() = 0;
};
