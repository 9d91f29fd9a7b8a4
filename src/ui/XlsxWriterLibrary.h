#pragma once

#include <QString>

#include <xlsxwriter.h>

// The functions of libxlsxwriter that the list export calls.
//
// On Linux the library is loaded on first use with its own dependencies bound first
// (RTLD_DEEPBIND), and it must not be linked into the program: QuaZip, which reads .xlsx files
// for the spreadsheet import, exports its own modified copy of the minizip functions under the
// same names (zipOpen, zipOpen3, …), and a libxlsxwriter loaded in the global scope would call
// those instead of minizip's and crash while closing the workbook. Elsewhere the functions are
// the linked ones.
struct XlsxWriterLibrary {
    decltype(&workbook_new_opt) workbookNew;
    decltype(&workbook_add_worksheet) addWorksheet;
    decltype(&workbook_add_format) addFormat;
    decltype(&workbook_close) workbookClose;
    decltype(&format_set_bold) setBold;
    decltype(&format_set_align) setAlign;
    decltype(&format_set_num_format) setNumFormat;
    decltype(&worksheet_set_column_pixels) setColumnPixels;
    decltype(&worksheet_write_string) writeString;
    decltype(&worksheet_write_number) writeNumber;
    decltype(&worksheet_freeze_panes) freezePanes;
    decltype(&lxw_strerror) errorText;

    // The library, loaded once per run; nullptr, with the reason in error, when it cannot be.
    static const XlsxWriterLibrary *get(QString &error);
};
