#pragma once

// A box in hundredths of a millimetre, relative to its band (model) or its page (prepared).
struct ReportRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    int right() const { return left + width; }
    int bottom() const { return top + height; }
    bool operator==(const ReportRect &) const = default;
};
