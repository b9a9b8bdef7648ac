#include "actions/file_io_win.h"

#include <windows.h>

#include <algorithm>

#include "util/unique_handle_win.h"

namespace velmora::actions {

namespace {

constexpr DWORD kWriteChunk = 1 << 20;

class FileSource final : public ByteSource {
public:
    explicit FileSource(HANDLE handle) : file_(handle) {}
    bool isOpen() const { return static_cast<bool>(file_); }

    std::optional<std::size_t> read(char* buffer, std::size_t size) override {
        DWORD got = 0;
        const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(size, MAXDWORD));
        if (!ReadFile(file_.get(), buffer, wanted, &got, nullptr)) return std::nullopt;
        return got;
    }

private:
    FileHandle file_;
};

}  // namespace

std::unique_ptr<ByteSource> openFileForReading(const std::filesystem::path& path) {
    if (path.empty()) return nullptr;
    auto source = std::make_unique<FileSource>(CreateFileW(
        path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!source->isOpen()) return nullptr;
    return source;
}

WriteResult writeFileBytes(const std::filesystem::path& path, std::string_view bytes, bool replace) {
    if (path.empty()) return WriteResult::Failed;
    const FileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                      replace ? CREATE_ALWAYS : CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                                      nullptr));
    if (!file) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS ? WriteResult::Exists
                                                                            : WriteResult::Failed;
    }
    while (!bytes.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), kWriteChunk));
        DWORD written = 0;
        if (!WriteFile(file.get(), bytes.data(), chunk, &written, nullptr) || written == 0) {
            return WriteResult::Failed;
        }
        bytes.remove_prefix(written);
    }
    return WriteResult::Written;
}

}  // namespace velmora::actions
