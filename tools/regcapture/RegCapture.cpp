// trevik-regcapture: captures what a library's own registration writes, as
// data an installer or the registry editor can carry, without touching the
// live registry.
#include <windows.h>

#include <cstdio>

#include "CapturedRegistry.h"
#include "ErrorText.h"
#include "InstallFolder.h"
#include "LibraryRegistration.h"
#include "LiveClassesGuard.h"
#include "Options.h"
#include "OutputFile.h"
#include "RegFileWriter.h"
#include "ScratchRegistry.h"
#include "WixFragmentWriter.h"

namespace regcapture {
namespace {

constexpr int kCaptured = 0;
constexpr int kFailed = 1;
constexpr int kUsageError = 2;

int Fail(const std::wstring& problem)
{
    std::fwprintf(stderr, L"trevik-regcapture: nothing written: %ls\n", problem.c_str());
    return kFailed;
}

// Runs the registration with the root keys redirected; the scratch key is
// gone and the live classes are as they were when this returns.
bool CaptureRegistration(const LibraryRegistration& library, CapturedRegistry& captured, std::wstring& problem)
{
    LiveClassesGuard liveClasses;
    LONG status = liveClasses.Record();
    if (status != ERROR_SUCCESS) {
        problem = L"cannot read the machine-wide classes: " + ErrorText(status);
        return false;
    }
    ScratchRegistry scratch;
    status = scratch.Redirect();
    if (status != ERROR_SUCCESS) {
        problem = L"cannot redirect the registry into a scratch key: " + ErrorText(status);
        return false;
    }
    HRESULT hr = library.Register();
    scratch.EndRedirection();
    if (FAILED(hr)) {
        problem = L"the registration of " + library.Path() + L" failed: " + ErrorText(static_cast<DWORD>(hr));
        return false;
    }
    status = scratch.Read(captured);
    if (status != ERROR_SUCCESS) {
        problem = L"cannot read the scratch key: " + ErrorText(status);
        return false;
    }
    status = liveClasses.TakeBack(captured);
    if (status != ERROR_SUCCESS) {
        problem = L"cannot take the registration back from the machine-wide classes: " + ErrorText(status);
        return false;
    }
    return true;
}

bool OutputText(const Options& options, const CapturedRegistry& captured, const InstallFolder& installFolder,
                std::wstring& text, std::wstring& problem)
{
    if (options.wix)
        return WixFragmentText(captured, installFolder, text, problem);
    text = RegFileText(captured, installFolder);
    return true;
}

int Run(const Options& options)
{
    LibraryRegistration library;
    std::wstring problem;
    if (!library.Load(options.library, options.perUser, problem))
        return Fail(problem);
    CapturedRegistry captured;
    if (!CaptureRegistration(library, captured, problem))
        return Fail(problem);
    std::wstring text;
    if (!OutputText(options, captured, InstallFolder(library.Path(), options.installFolder), text, problem))
        return Fail(problem);
    DWORD status = WriteOutputFile(options.output, text, options.wix ? Encoding::Utf8 : Encoding::Utf16WithBom);
    if (status != ERROR_SUCCESS)
        return Fail(L"cannot write " + options.output + L": " + ErrorText(status));
    return kCaptured;
}

}  // namespace
}  // namespace regcapture

int wmain(int argc, wchar_t** argv)
{
    regcapture::Options options;
    if (!regcapture::ParseOptions(argc, argv, options)) {
        std::fputws(regcapture::kUsage, stderr);
        return regcapture::kUsageError;
    }
    return regcapture::Run(options);
}
