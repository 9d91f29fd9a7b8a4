#pragma once

// The longest text each box and grid cell of the receipt forms takes: the width of the column
// it is stored in (ss_sale, ss_saledetail and the master data a save adds to).
namespace ReceiptFieldLimits {
constexpr int ShortText = 255;    // a text column without a width of its own
constexpr int Linkman = 50;       // linkman varchar(50)
constexpr int Phone = 100;        // phone varchar(100)
constexpr int Address = 100;      // adr varchar(100)
constexpr int PaymentMethod = 50; // skfsname and aa_chargetype.name varchar(50)
constexpr int Remark = 200;       // ss_sale.remark varchar(200)
constexpr int Barcode = 50;       // aa_goods.barcode varchar(50)
// Every grid cell: the line fields are short text, and a number typed needs no more.
constexpr int GridCell = ShortText;
} // namespace ReceiptFieldLimits
