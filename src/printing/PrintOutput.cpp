#include "printing/PrintOutput.h"

#include "printing/QtPrintOutput.h"

namespace {

PrintOutput *installed = nullptr;

} // namespace

PrintOutput &PrintOutput::current() {
    static QtPrintOutput qtOutput;
    return installed ? *installed : qtOutput;
}

void PrintOutput::install(PrintOutput *output) {
    installed = output;
}
