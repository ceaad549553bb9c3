// Formatting message texts: printf-like format directives and the safe
// form that never fails.
#pragma once

#include <QString>
#include <optional>
#include <span>

#include "TraceArg.h"

// Directives: "%" [index ":"] ["-"] [width] ["." precision] type, with
// width and precision also "*" (taken from the next argument) and "%%" for
// a percent sign. Types: d (decimal; precision = least digits), u
// (unsigned), x (upper-case hex), e, f, g, n, m (floating point: scientific,
// fixed, general, fixed with thousands separators, money), s (text or
// character; precision = most characters), p (pointer). Answers nothing
// when a directive is malformed, an argument is missing or does not fit
// its type.
std::optional<QString> TraceFormat(QStringView Format, std::span<const TTraceArg> Args);

// TraceFormat, or "Format Error! Format String: " + Format + ". " followed,
// when there are arguments, by "\r\nHex Params:" and " %8.8x" per argument.
QString SafeFormat(QStringView Format, std::span<const TTraceArg> Args);
