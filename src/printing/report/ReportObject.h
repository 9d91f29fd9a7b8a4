#pragma once

#include "printing/report/LineObject.h"
#include "printing/report/MemoObject.h"
#include "printing/report/PictureObject.h"
#include "printing/report/RectangleObject.h"

#include <variant>

// One object of a band: a memo, a line, a rectangle or a picture.
using ReportObject = std::variant<MemoObject, LineObject, RectangleObject, PictureObject>;

inline const QString &ObjectName(const ReportObject &object) {
    return std::visit([](const auto &o) -> const QString & { return o.name; }, object);
}

inline const ReportRect &ObjectRect(const ReportObject &object) {
    return std::visit([](const auto &o) -> const ReportRect & { return o.rect; }, object);
}
