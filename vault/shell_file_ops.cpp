#include "vault/shell_file_ops.h"

#include "common/message_box.h"
#include "common/ui_port.h"
#include "vault/collision_name.h"

namespace vault {

namespace {

constexpr int kMaxCollisionNumber = 9999;

bool IsCollision(DWORD e) { return e == ERROR_FILE_EXISTS || e == ERROR_ALREADY_EXISTS; }

// One file: tries the destination and then its numbered names. The system
// refuses an existing destination itself, so no other writer can slip in
// between a check and the transfer.
using TransferFn = BOOL (*)(const std::string& from, const std::string& to, bool replace);

FileOutcome TransferOne(TransferFn fn, const std::string& from, const std::string& to, bool renameOnCollision,
                        UiPort& ui) {
    FileOutcome out;
    if (fn(from, to, false)) {
        out.done = true;
        out.finalPath = to;
        return out;
    }
    out.error = GetLastError();
    if (!IsCollision(out.error)) return out;
    if (!renameOnCollision) {
        const std::string q = "The file " + to + " already exists.\r\nDo you want to replace it with " + from + "?";
        if (ui.Ask(q, MB_YESNO | MB_ICONQUESTION) != IDYES) {
            out.error = ERROR_CANCELLED;
            return out;
        }
        if (fn(from, to, true)) {
            out = {true, 0, to};
        } else {
            out.error = GetLastError();
        }
        return out;
    }
    for (int n = 2; n <= kMaxCollisionNumber; ++n) {
        const std::string candidate = NumberedName(to, n);
        if (fn(from, candidate, false)) return {true, 0, candidate};
        out.error = GetLastError();
        if (!IsCollision(out.error)) return out;
    }
    return out;
}

BOOL CopyOne(const std::string& from, const std::string& to, bool replace) {
    return CopyFileA(from.c_str(), to.c_str(), replace ? FALSE : TRUE);
}

BOOL MoveOne(const std::string& from, const std::string& to, bool replace) {
    const DWORD flags = MOVEFILE_COPY_ALLOWED | (replace ? MOVEFILE_REPLACE_EXISTING : 0);
    return MoveFileExA(from.c_str(), to.c_str(), flags);
}

std::vector<FileOutcome> TransferAll(TransferFn fn, const std::vector<std::string>& sources,
                                     const std::vector<std::string>& destinations, bool renameOnCollision,
                                     UiPort& ui) {
    std::vector<FileOutcome> out;
    out.reserve(sources.size());
    for (std::size_t i = 0; i < sources.size() && i < destinations.size(); ++i)
        out.push_back(TransferOne(fn, sources[i], destinations[i], renameOnCollision, ui));
    return out;
}

}  // namespace

std::vector<FileOutcome> ShellCopyFiles(const std::vector<std::string>& sources,
                                        const std::vector<std::string>& destinations, bool renameOnCollision,
                                        UiPort& ui) {
    return TransferAll(&CopyOne, sources, destinations, renameOnCollision, ui);
}

std::vector<FileOutcome> ShellMoveFiles(const std::vector<std::string>& sources,
                                        const std::vector<std::string>& destinations, bool renameOnCollision,
                                        UiPort& ui) {
    return TransferAll(&MoveOne, sources, destinations, renameOnCollision, ui);
}

std::vector<FileOutcome> ShellDeleteFiles(const std::vector<std::string>& list) {
    std::vector<FileOutcome> out;
    out.reserve(list.size());
    for (const auto& p : list) {
        FileOutcome o;
        o.done = DeleteFileA(p.c_str()) != FALSE;
        if (!o.done && GetLastError() == ERROR_ACCESS_DENIED) {
            const DWORD attrs = GetFileAttributesA(p.c_str());
            if (attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_READONLY) &&
                SetFileAttributesA(p.c_str(), attrs & ~FILE_ATTRIBUTE_READONLY))
                o.done = DeleteFileA(p.c_str()) != FALSE;
        }
        if (!o.done) o.error = GetLastError();
        out.push_back(o);
    }
    return out;
}

std::string TransferFailureLine(const char* verb, const std::string& from, const std::string& to, DWORD error) {
    std::string line = std::string("Cannot ") + verb + " " + from;
    if (!to.empty()) line += " to " + to;
    return line + ": " + SystemErrorText(error) + "\r\n";
}

}  // namespace vault
