// Drives a modal window that a call under test opens on this thread: a
// thread timer, which keeps firing inside modal loops, runs one stage per
// tick on the window with the given title. A stage that leaves the window
// open lets the next stage see it again; when the stages are used up the
// window is cancelled so that the call can return.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

class ModalScript {
public:
    using Stage = std::function<void(ModalScript&, HWND)>;
    ModalScript(std::string title, std::vector<Stage> stages) : title_(std::move(title)), stages_(std::move(stages)) {
        Current() = this;
        timer_ = SetTimer(nullptr, 0, 50, &Tick);
    }
    ~ModalScript() {
        KillTimer(nullptr, timer_);
        Current() = nullptr;
    }
    ModalScript(const ModalScript&) = delete;
    ModalScript& operator=(const ModalScript&) = delete;

    std::size_t stagesRun() const { return next_; }
    std::vector<std::string> texts;  // for stages to record what they saw

    // The first visible window of this thread with `title` (empty: any
    // dialog-class window).
    HWND Find() const {
        struct Search {
            const std::string* title;
            HWND found;
        } s{&title_, nullptr};
        EnumThreadWindows(
            GetCurrentThreadId(),
            [](HWND w, LPARAM lp) -> BOOL {
                auto* s = reinterpret_cast<Search*>(lp);
                char text[256] = {}, cls[64] = {};
                GetWindowTextA(w, text, sizeof text);
                GetClassNameA(w, cls, sizeof cls);
                if (!IsWindowVisible(w) || std::string(cls) != "#32770" || text != *s->title) return TRUE;
                s->found = w;
                return FALSE;
            },
            reinterpret_cast<LPARAM>(&s));
        return s.found;
    }

private:
    static ModalScript*& Current() {
        static ModalScript* current = nullptr;
        return current;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        ModalScript* self = Current();
        if (!self || self->busy_) return;
        HWND w = self->Find();
        if (!w) return;
        self->busy_ = true;
        if (self->next_ < self->stages_.size())
            self->stages_[self->next_++](*self, w);
        else
            PostMessageA(w, WM_COMMAND, IDCANCEL, 0);
        self->busy_ = false;
    }

    std::string title_;
    std::vector<Stage> stages_;
    std::size_t next_ = 0;
    UINT_PTR timer_ = 0;
    bool busy_ = false;
};

inline std::string DlgText(HWND dlg, int id) {
    char buf[1024] = {};
    GetDlgItemTextA(dlg, id, buf, sizeof buf);
    return buf;
}
