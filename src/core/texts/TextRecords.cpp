#include "texts/TextRecords.h"

#include "app/Application.h"
#include "util/ErrorInfo.h"

void textrec::ReportMessage(int id, int number)
{
    CErrorInfo err;
    err.Set(id, number);
    err.Report(App().Ui());
}
