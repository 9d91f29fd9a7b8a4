#include "ui/XlsxWriterLibrary.h"

#if defined(__linux__)
#include <dlfcn.h>
#endif

namespace {

#if defined(__linux__)

template <typename Function>
bool resolve(void *handle, const char *name, Function &function, QString &error) {
    function = reinterpret_cast<Function>(dlsym(handle, name));
    if (!function)
        error = QStringLiteral("Excel写入库缺少函数%1。").arg(QLatin1StringView(name));
    return function != nullptr;
}

bool load(XlsxWriterLibrary &library, QString &error) {
    static const char soname[] = "libxlsxwriter.so." LXW_SOVERSION;
    void *handle = dlopen(soname, RTLD_NOW | RTLD_LOCAL | RTLD_DEEPBIND);
    if (!handle) {
        error = QStringLiteral("无法加载Excel写入库%1：%2")
                    .arg(QLatin1StringView(soname), QString::fromLocal8Bit(dlerror()));
        return false;
    }
    // The library stays loaded for the rest of the run.
    return resolve(handle, "workbook_new_opt", library.workbookNew, error) &&
           resolve(handle, "workbook_add_worksheet", library.addWorksheet, error) &&
           resolve(handle, "workbook_add_format", library.addFormat, error) &&
           resolve(handle, "workbook_close", library.workbookClose, error) &&
           resolve(handle, "format_set_bold", library.setBold, error) &&
           resolve(handle, "format_set_align", library.setAlign, error) &&
           resolve(handle, "format_set_num_format", library.setNumFormat, error) &&
           resolve(handle, "worksheet_set_column_pixels", library.setColumnPixels, error) &&
           resolve(handle, "worksheet_write_string", library.writeString, error) &&
           resolve(handle, "worksheet_write_number", library.writeNumber, error) &&
           resolve(handle, "worksheet_freeze_panes", library.freezePanes, error) &&
           resolve(handle, "lxw_strerror", library.errorText, error);
}

#else

bool load(XlsxWriterLibrary &library, QString &) {
    library = {&workbook_new_opt,       &workbook_add_worksheet,
               &workbook_add_format,    &workbook_close,
               &format_set_bold,        &format_set_align,
               &format_set_num_format,  &worksheet_set_column_pixels,
               &worksheet_write_string, &worksheet_write_number,
               &worksheet_freeze_panes, &lxw_strerror};
    return true;
}

#endif

} // namespace

const XlsxWriterLibrary *XlsxWriterLibrary::get(QString &error) {
    static XlsxWriterLibrary library{};
    static QString loadError;
    static const bool loaded = load(library, loadError);
    error = loadError;
    return loaded ? &library : nullptr;
}
