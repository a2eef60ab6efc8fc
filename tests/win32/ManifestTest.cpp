// The manifest foyer.exe carries: what it asks of the system, and that the system can use it;
// and the version resource of both programs.
#include "platform/win32/WinApi.h"

#include <gtest/gtest.h>

#include <string>

#include "EndToEndBed.h"

namespace foyer::test {
namespace {

// The text of the program's manifest resource (type 24, id 1), or empty when it has none.
std::string ManifestOf(const std::string& exe) {
  const HMODULE module = LoadLibraryExA(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (module == nullptr) return {};
  std::string text;
  if (HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24))) {
    if (HGLOBAL loaded = LoadResource(module, found)) {
      text.assign(static_cast<const char*>(LockResource(loaded)), SizeofResource(module, found));
    }
  }
  FreeLibrary(module);
  return text;
}

TEST(Manifest, ProgramRunsAsItsUserOnEverySystemFromVistaWithVersion6ControlsAndUtf8Strings) {
  const std::string exe = Env("FOYER_EXE");
  if (exe.empty()) GTEST_SKIP() << "FOYER_EXE names no program";
  const std::string manifest = ManifestOf(exe);
  ASSERT_FALSE(manifest.empty()) << exe << " carries no manifest";
  for (const char* wanted : {
           R"(<requestedExecutionLevel level="asInvoker" uiAccess="false"/>)",
           "{e2011457-1546-43c5-a5fe-008deee3d3f0}",  // Vista
           "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",  // 7
           "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",  // 8
           "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",  // 8.1
           "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",  // 10 and 11
           R"(name="Microsoft.Windows.Common-Controls" version="6.0.0.0")",
           // Per-monitor awareness, version 2, else system awareness.
           R"(WindowsSettings">true</dpiAware>)",
           R"(WindowsSettings">PerMonitorV2, System</dpiAwareness>)",
           // The A entry points in UTF-8, where the system has that code page.
           R"(WindowsSettings">UTF-8</activeCodePage>)",
       }) {
    EXPECT_NE(manifest.find(wanted), std::string::npos) << wanted;
  }
  for (const char* unwanted : {"<longPathAware", "requireAdministrator"})
    EXPECT_EQ(manifest.find(unwanted), std::string::npos) << unwanted;

  // The system reads it: the context made from it takes comctl32.dll from the side-by-side store.
  ACTCTXA context{};
  context.cbSize = sizeof context;
  context.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
  context.lpSource = exe.c_str();
  context.lpResourceName = MAKEINTRESOURCEA(1);
  const HANDLE made = CreateActCtxA(&context);
  ASSERT_NE(made, INVALID_HANDLE_VALUE) << "the system cannot read the manifest";
  ULONG_PTR cookie = 0;
  ActivateActCtx(made, &cookie);
  ACTCTX_SECTION_KEYED_DATA redirection{};
  redirection.cbSize = sizeof redirection;
  const bool found = FindActCtxSectionStringA(FIND_ACTCTX_SECTION_KEY_RETURN_HACTCTX, nullptr,
                                              ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION,
                                              "comctl32.dll", &redirection);
  DeactivateActCtx(0, cookie);
  EXPECT_TRUE(found && redirection.hActCtx == made) << "no common controls of its own";
  if (found) ReleaseActCtx(redirection.hActCtx);
  ReleaseActCtx(made);
}

// What Explorer's Properties show of a program: a string of its version resource.
std::string VersionString(const std::string& exe, const char* name) {
  DWORD ignored = 0;
  std::string data(GetFileVersionInfoSizeA(exe.c_str(), &ignored), '\0');
  if (data.empty() || !GetFileVersionInfoA(exe.c_str(), 0, static_cast<DWORD>(data.size()),
                                           data.data())) {
    return "<no version resource>";
  }
  void* value = nullptr;
  UINT length = 0;
  const std::string key = std::string("\\StringFileInfo\\040904B0\\") + name;
  if (!VerQueryValueA(data.data(), key.c_str(), &value, &length) || length == 0) return {};
  return static_cast<const char*>(value);
}

TEST(Manifest, BothProgramsNameTheirProductVersionAndLicence) {
  const std::string exe = Env("FOYER_EXE");
  if (exe.empty()) GTEST_SKIP() << "FOYER_EXE names no program";
  const std::string folder = exe.substr(0, exe.find_last_of('\\') + 1);
  for (const char* name : {"foyer.exe", "foyer-check.exe"}) {
    const std::string program = folder + name;
    EXPECT_EQ(VersionString(program, "ProductName"), "Foyer") << name;
    EXPECT_EQ(VersionString(program, "FileVersion"), FOYER_VERSION) << name;
    EXPECT_EQ(VersionString(program, "ProductVersion"), FOYER_VERSION) << name;
    EXPECT_EQ(VersionString(program, "OriginalFilename"), name);
    EXPECT_NE(VersionString(program, "LegalCopyright").find("MIT"), std::string::npos) << name;
    EXPECT_FALSE(VersionString(program, "FileDescription").empty()) << name;
  }
}

}  // namespace
}  // namespace foyer::test
