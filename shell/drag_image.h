// The picture that follows the mouse while something is dragged: an image
// list drag, started, moved and ended in one place for every view.
#pragma once
#include <windows.h>
#include <commctrl.h>

class DragImage {
public:
    DragImage() = default;
    ~DragImage() { End(); }
    DragImage(const DragImage&) = delete;
    DragImage& operator=(const DragImage&) = delete;

    // Takes over `image` (null: the drag goes on without a picture) and shows
    // it at `at`, in the client coordinates of `lockWindow` or, when that is
    // null, of the screen; hotspot is the image point under the mouse.
    void Begin(HIMAGELIST image, POINT hotspot, HWND lockWindow, POINT at) {
        End();
        image_ = image;
        lock_ = lockWindow;
        if (!image_) return;
        ImageList_BeginDrag(image_, 0, hotspot.x, hotspot.y);
        ImageList_DragEnter(lock_, at.x, at.y);
    }
    void Move(POINT at) const {
        if (image_) ImageList_DragMove(at.x, at.y);
    }
    // Hides the picture while the window under it is drawn.
    void Show(bool show) const {
        if (image_) ImageList_DragShowNolock(show ? TRUE : FALSE);
    }
    void End() {
        if (!image_) return;
        ImageList_DragLeave(lock_);
        ImageList_EndDrag();
        ImageList_Destroy(image_);
        image_ = nullptr;
    }

private:
    HIMAGELIST image_ = nullptr;
    HWND lock_ = nullptr;
};
