#pragma once

#include <QString>
#include <QUrl>

#include <string>

// Local paths that Qt hands the layer (the pickers' answers, dropped files) as the bytes
// that name the files. Qt decodes file names as UTF-8 and shows a byte that is no UTF-8
// (a name written in Latin-1 on an old disk) as U+FFFD, which names no file; these give
// back the name's own bytes.

// The path of a local file URL (isLocalFile) with the bytes its percent-encoding holds,
// which keep a name that is no UTF-8 exactly.
std::string LocalFileOfUrl(const QUrl& url);

// The path that Qt shows as shown. Each name that Qt could not decode is looked up among
// its folder's entries as Qt shows them: the one entry that matches gives its bytes. A
// name that matches none, or more than one, stays as Qt shows it.
std::string LocalPathBytes(const QString& shown);
