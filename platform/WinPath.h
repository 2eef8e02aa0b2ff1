#pragma once
// Text and Windows-path helpers shared by every layer. Paths here are Windows paths
// ("C:\ZVOv12\Programs\"); only Drives turns them into host paths.
#include <QString>

namespace zvo {

// Removes leading and trailing blanks and control characters (everything up to U+0020).
QString TrimText(const QString &s);
bool SameText(const QString &a, const QString &b);

QString IncludeTrailingBackslash(const QString &path);
QString ExcludeTrailingBackslash(const QString &path);
// Folder part with its trailing "\" ("C:\A\b.txt" -> "C:\A\").
QString ExtractFilePath(const QString &path);
// Folder part without trailing "\" except for a drive root ("C:\A\b.txt" -> "C:\A").
QString ExtractFileDir(const QString &path);
QString ExtractFileName(const QString &path);
// "C:\A\B\" -> "C:\A\"; a drive root is its own parent.
QString ParentDir(const QString &dir);
bool IsDriveRoot(const QString &dir);
// Joins a folder and a relative name with exactly one "\" between them.
QString JoinPath(const QString &dir, const QString &name);
// "*.rc2", "a?.txt" against a name, without regard to case (Windows mask rules).
bool MatchesMask(const QString &name, const QString &mask);

} // namespace zvo
