#include "OutputFile.h"

#include <iterator>
#include <vector>

namespace regcapture {
namespace {

const BYTE kUtf16Bom[] = {0xFF, 0xFE};

std::vector<BYTE> Encoded(const std::wstring& text, Encoding encoding)
{
    if (encoding == Encoding::Utf16WithBom) {
        std::vector<BYTE> bytes(std::begin(kUtf16Bom), std::end(kUtf16Bom));
        auto units = reinterpret_cast<const BYTE*>(text.data());
        bytes.insert(bytes.end(), units, units + text.size() * sizeof(wchar_t));
        return bytes;
    }
    int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::vector<BYTE> bytes(size);
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), reinterpret_cast<char*>(bytes.data()),
                        size, nullptr, nullptr);
    return bytes;
}

class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    ~FileHandle()
    {
        if (handle_ != INVALID_HANDLE_VALUE)
            CloseHandle(handle_);
    }
    HANDLE Get() const { return handle_; }

private:
    HANDLE handle_;
};

DWORD WriteAll(HANDLE file, const std::vector<BYTE>& bytes)
{
    DWORD written = 0;
    if (!WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr))
        return GetLastError();
    return written == bytes.size() ? ERROR_SUCCESS : ERROR_WRITE_FAULT;
}

}  // namespace

DWORD WriteOutputFile(const std::wstring& path, const std::wstring& text, Encoding encoding)
{
    std::vector<BYTE> bytes = Encoded(text, encoding);
    DWORD status;
    {
        FileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file.Get() == INVALID_HANDLE_VALUE)
            return GetLastError();
        status = WriteAll(file.Get(), bytes);
    }
    if (status != ERROR_SUCCESS)
        DeleteFileW(path.c_str());
    return status;
}

}  // namespace regcapture
