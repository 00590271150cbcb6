#pragma once

#include <QString>
#include <functional>

// A file path shortened to fit width, where widthOf measures a text in the
// same unit. The whole path where it fits. Otherwise the folder part loses
// characters from its middle, marked "…", so that the file's own name, the
// part a reader looks for, always stays whole; a name too wide on its own
// comes after "…/" and the caller cuts it at its edge.
QString ElidedPath(const QString& path, double width, const std::function<double(const QString&)>& widthOf);
