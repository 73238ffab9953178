#include "common/win/handle.h"

namespace win {

Handle& Handle::operator=(Handle&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
}

void Handle::Reset(HANDLE h) {
    if (h == INVALID_HANDLE_VALUE) h = nullptr;
    if (h_ && h_ != h) {
        const DWORD error = GetLastError();  // closing must not hide the error being reported
        CloseHandle(h_);
        SetLastError(error);
    }
    h_ = h;
}

HANDLE Handle::Release() {
    HANDLE h = h_;
    h_ = nullptr;
    return h;
}

File File::Open(const std::string& path, DWORD access, DWORD share, DWORD disposition, DWORD flags) {
    return File(CreateFileA(path.c_str(), access, share, nullptr, disposition, flags, nullptr));
}

bool File::Size(std::uint64_t& size) const {
    LARGE_INTEGER li{};
    if (!GetFileSizeEx(handle_.get(), &li)) return false;
    size = static_cast<std::uint64_t>(li.QuadPart);
    return true;
}

bool File::Seek(std::uint64_t offset) {
    LARGE_INTEGER li;
    li.QuadPart = static_cast<LONGLONG>(offset);
    return SetFilePointerEx(handle_.get(), li, nullptr, FILE_BEGIN) != FALSE;
}

bool File::Resize(std::uint64_t size) { return Seek(size) && SetEndOfFile(handle_.get()); }

namespace {
// ReadFile and WriteFile take at most 4 GB minus one at a time.
constexpr std::size_t kMaxPiece = std::size_t{1} << 30;
}  // namespace

bool File::Read(void* buffer, std::size_t size, std::size_t& got) {
    const DWORD want = static_cast<DWORD>(size > kMaxPiece ? kMaxPiece : size);
    DWORD n = 0;
    if (!ReadFile(handle_.get(), buffer, want, &n, nullptr)) return false;
    got = n;
    return true;
}

bool File::ReadAt(std::uint64_t offset, void* buffer, std::size_t size) {
    if (!Seek(offset)) return false;
    auto* p = static_cast<std::uint8_t*>(buffer);
    while (size > 0) {
        std::size_t got = 0;
        if (!Read(p, size, got)) return false;
        if (got == 0) {
            SetLastError(ERROR_HANDLE_EOF);
            return false;
        }
        p += got;
        size -= got;
    }
    return true;
}

bool File::Write(const void* data, std::size_t size) {
    const auto* p = static_cast<const std::uint8_t*>(data);
    while (size > 0) {
        const DWORD want = static_cast<DWORD>(size > kMaxPiece ? kMaxPiece : size);
        DWORD put = 0;
        if (!WriteFile(handle_.get(), p, want, &put, nullptr)) return false;
        if (put == 0) {
            SetLastError(ERROR_DISK_FULL);
            return false;
        }
        p += put;
        size -= put;
    }
    return true;
}

bool File::WriteAt(std::uint64_t offset, const void* data, std::size_t size) {
    return Seek(offset) && Write(data, size);
}

bool File::ReadAll(std::vector<std::uint8_t>& out, std::uint64_t limit) {
    out.clear();
    std::uint64_t size = 0;
    if (!Size(size) || !Seek(0)) return false;
    if (size > limit) {
        SetLastError(ERROR_FILE_TOO_LARGE);
        return false;
    }
    out.resize(static_cast<std::size_t>(size));
    std::size_t have = 0;
    // A file that shrinks while it is read gives what was there.
    while (have < out.size()) {
        std::size_t got = 0;
        if (!Read(out.data() + have, out.size() - have, got)) return false;
        if (got == 0) break;
        have += got;
    }
    out.resize(have);
    return true;
}

bool Event::Create(bool manualReset) {
    handle_.Reset(CreateEventA(nullptr, manualReset ? TRUE : FALSE, FALSE, nullptr));
    return handle_.valid();
}

bool Semaphore::Create(LONG initial, LONG maximum) {
    handle_.Reset(CreateSemaphoreA(nullptr, initial, maximum, nullptr));
    return handle_.valid();
}

bool Mutex::CreateNamed(const std::string& name, bool initialOwner, bool& existed) {
    handle_.Reset(CreateMutexA(nullptr, initialOwner ? TRUE : FALSE, name.c_str()));
    existed = GetLastError() == ERROR_ALREADY_EXISTS;
    return handle_.valid();
}

bool Thread::Start(LPTHREAD_START_ROUTINE routine, void* parameter) {
    if (handle_.valid()) return false;
    handle_.Reset(CreateThread(nullptr, 0, routine, parameter, CREATE_SUSPENDED, nullptr));
    if (!handle_.valid()) return false;
    ResumeThread(handle_.get());
    return true;
}

bool Thread::Ended() const { return !handle_.valid() || WaitForSingleObject(handle_.get(), 0) == WAIT_OBJECT_0; }

void Thread::Join() {
    if (!handle_.valid()) return;
    WaitForSingleObject(handle_.get(), INFINITE);
    handle_.Reset();
}

}  // namespace win
