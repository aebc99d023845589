// The folder clean-up run of the temporary copy: deletes the uninstall
// folder once the uninstaller that started it has let go of its files.
#pragma once

#include <string>
#include <vector>

// The folder as a clean absolute path ("C:\App"), or empty when the text is
// not one: relative, UNC or device paths, drive roots, "." or ".." parts,
// wildcards and other characters that cannot be in a folder name.
std::string NormalizeCleanupFolder(const std::string& argument);

// True when the folder is none of the protected folders and contains none of
// them (compared without regard to case).
bool IsOutsideProtectedFolders(const std::string& folder, const std::vector<std::string>& protectedFolders);

// Deletes the folder tree named by the argument if it may be deleted at all.
// Files still locked by the starting uninstaller are retried for up to
// timeoutMs milliseconds. Returns true when the folder is gone.
bool CleanUpUninstallFolder(const std::string& argument, unsigned timeoutMs);

constexpr unsigned kCleanupTimeoutMs = 30000;
constexpr unsigned kCleanupRetryMs = 250;
