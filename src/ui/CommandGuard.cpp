#include "ui/CommandGuard.h"

#include "data/DbError.h"
#include "ui/UiServices.h"

bool RunCommand(const std::function<void()> &command) {
    try {
        command();
        return true;
    } catch (const DbError &error) {
        ShowError(error.message());
    } catch (const std::exception &error) {
        ShowError(QString::fromUtf8(error.what()));
    } catch (...) {
        ShowError(QString());
    }
    return false;
}
