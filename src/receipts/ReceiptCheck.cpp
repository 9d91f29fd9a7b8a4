#include "receipts/ReceiptCheck.h"

#include "receipts/ReceiptGridLayout.h"
#include "receipts/core/TextToNumber.h"

#include <algorithm>

namespace {

ReceiptFault cellFault(int row, const QString &key, const QString &caption, const QString &what) {
    return ReceiptFault{ReceiptFault::Place::Cell,
                        QStringLiteral("第") + QString::number(row) + QStringLiteral("行，") + caption + what,
                        row, key};
}

} // namespace

ReceiptFault CheckReceipt(const ReceiptDraft &draft, const ReceiptGridLayout &layout, bool allowNegative) {
    if (draft.companyName.isEmpty())
        return ReceiptFault{ReceiptFault::Place::PayingParty, QStringLiteral("交款单位不能为空！"), 0, {}};

    struct Cell {
        const QString &key;
        QString ReceiptLine::*field;
    };
    const Cell numbers[] = {{GridKey::Quantity, &ReceiptLine::quantity},
                            {GridKey::Price, &ReceiptLine::price},
                            {GridKey::Amount, &ReceiptLine::amount}};
    for (int r = 1; r <= draft.lines.size(); ++r) {
        const ReceiptLine &line = draft.lines[r - 1];
        if (!line.isLine())
            continue;
        for (const Cell &cell : numbers)
            if ((line.*cell.field).isEmpty())
                return cellFault(r, cell.key, layout.captionOf(cell.key), QStringLiteral("不能为空！"));
        for (const Cell &cell : numbers) {
            const auto value = TextToNumber(line.*cell.field);
            if (!value)
                return cellFault(r, cell.key, layout.captionOf(cell.key), QStringLiteral("应为数字！"));
            if (*value < 0 && !allowNegative)
                return cellFault(r, cell.key, layout.captionOf(cell.key), QStringLiteral("不能为负！"));
        }
    }
    if (std::none_of(draft.lines.begin(), draft.lines.end(), [](const ReceiptLine &l) { return l.isLine(); }))
        return ReceiptFault{ReceiptFault::Place::Lines, QStringLiteral("商品明细不能为空！"), 0, {}};
    return {};
}
