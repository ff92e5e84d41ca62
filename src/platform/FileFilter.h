#pragma once

#include <QString>

// Turns a "description|pattern|description|pattern" filter into Qt's
// "description (pattern);;description (pattern)" form. Patterns separated by
// ";" become blank-separated.
QString qtFileFilter(const QString& pipeFilter);
