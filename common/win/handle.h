// One owner per kernel object. Every handle the program opens is held by
// one of these types and closed by it, once; nowhere else calls the close
// functions of the system.
#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace win {

// A kernel object handle (file, event, semaphore, thread, mutex, process).
// Null and INVALID_HANDLE_VALUE both mean "none".
class Handle {
public:
    Handle() = default;
    explicit Handle(HANDLE h) : h_(h == INVALID_HANDLE_VALUE ? nullptr : h) {}
    ~Handle() { Reset(); }
    Handle(Handle&& other) noexcept : h_(other.Release()) {}
    Handle& operator=(Handle&& other) noexcept;
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;

    HANDLE get() const { return h_; }
    bool valid() const { return h_ != nullptr; }
    explicit operator bool() const { return valid(); }
    // Closes the held handle (keeping the thread's last error) and takes h.
    void Reset(HANDLE h = nullptr);
    HANDLE Release();

private:
    HANDLE h_ = nullptr;
};

// An open file. Failures leave the system's code in the last error.
class File {
public:
    File() = default;
    static File Open(const std::string& path, DWORD access, DWORD share, DWORD disposition,
                     DWORD flags = FILE_ATTRIBUTE_NORMAL);
    bool valid() const { return handle_.valid(); }
    HANDLE get() const { return handle_.get(); }
    void Close() { handle_.Reset(); }

    bool Size(std::uint64_t& size) const;
    bool Seek(std::uint64_t offset);
    // Cuts or extends the file to `size`; the position ends there.
    bool Resize(std::uint64_t size);
    // Up to `size` bytes from the current position; got 0 at the end.
    bool Read(void* buffer, std::size_t size, std::size_t& got);
    // Exactly `size` bytes from `offset` (ERROR_HANDLE_EOF when shorter).
    bool ReadAt(std::uint64_t offset, void* buffer, std::size_t size);
    // Every byte, at the current position; a short write is ERROR_DISK_FULL.
    bool Write(const void* data, std::size_t size);
    bool WriteAt(std::uint64_t offset, const void* data, std::size_t size);
    // The whole file from its start; refuses (ERROR_FILE_TOO_LARGE) one
    // larger than limit.
    bool ReadAll(std::vector<std::uint8_t>& out, std::uint64_t limit);

private:
    explicit File(HANDLE h) : handle_(h) {}
    Handle handle_;
};

// An auto-reset (or manual-reset) event.
class Event {
public:
    bool Create(bool manualReset = false);
    bool Set() const { return SetEvent(handle_.get()) != FALSE; }
    bool Reset() const { return ResetEvent(handle_.get()) != FALSE; }
    bool IsSet() const { return WaitForSingleObject(handle_.get(), 0) == WAIT_OBJECT_0; }
    HANDLE get() const { return handle_.get(); }
    bool valid() const { return handle_.valid(); }

private:
    Handle handle_;
};

class Semaphore {
public:
    bool Create(LONG initial, LONG maximum);
    bool Release(LONG count = 1) const { return ReleaseSemaphore(handle_.get(), count, nullptr) != FALSE; }
    HANDLE get() const { return handle_.get(); }

private:
    Handle handle_;
};

// A named mutex; `existed` tells whether another process made it first.
class Mutex {
public:
    bool CreateNamed(const std::string& name, bool initialOwner, bool& existed);
    HANDLE get() const { return handle_.get(); }

private:
    Handle handle_;
};

// A thread, created suspended and then resumed, so that whoever starts it
// holds its handle before it runs.
class Thread {
public:
    bool Start(LPTHREAD_START_ROUTINE routine, void* parameter);
    bool running() const { return handle_.valid(); }
    // True when there is no thread or it has returned.
    bool Ended() const;
    // Waits for the thread to return and lets go of it.
    void Join();
    HANDLE get() const { return handle_.get(); }

private:
    Handle handle_;
};

}  // namespace win
