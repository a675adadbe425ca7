#pragma once

// The update check's calls, in the order the controller makes them.
namespace Updater {
void SetAppcastUrl(const char* url);
void SetAppDetails(const wchar_t* company, const wchar_t* application, const wchar_t* version);
void Init();
void CheckUpdateWithoutUi();
void Cleanup();
} // namespace Updater
