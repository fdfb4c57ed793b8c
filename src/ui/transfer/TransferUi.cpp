// The module commands of the project windows: "Inhaltsverzeichnis PX920...",
// "Laden PX920...", "Lesen PX920...", "Löschen PX920..." and
// "Betriebstastatur...". They work on the link of the open project.
#include "app/Application.h"
#include "model/NodeTypes.h"
#include "app/MainFrame.h"
#include "transfer/DeviceSession.h"
#include "transfer/KeyboardDialog.h"
#include "transfer/ModuleCommands.h"
#include "transfer/TransferDialog.h"
#include "util/ErrorInfo.h"
#include "util/StringTable.h"
#include "views/NodeCommands.h"
#include "views/ReportView.h"

namespace {
// The commands are enabled only while a project is open, so a missing
// session is a fault of the program, not of the user.
CDeviceSession* SessionOrReport(int line)
{
    CDeviceSession* s = CDeviceSession::Current();
    if (!s) {
        CErrorInfo err;
        err.Set(IDS_INTERNAL_ERROR, "Comm", line);
        err.Report(App().Ui());
    }
    return s;
}

void RunTransfer(const NodeCommandContext& ctx, CTransferDialog::Mode mode)
{
    auto* view = qobject_cast<CReportView*>(ctx.parent);
    CDeviceSession* s = SessionOrReport(__LINE__);
    if (!view || !s) return;
    CTransferDialog::Run(view, s->Comm(), mode);
}
}  // namespace

void RegisterTransferUiHandlers()
{
    RegisterCommandHandler(CMD_DEVICE_DIRECTORY, [](const NodeCommandContext&) {
        if (CDeviceSession* s = SessionOrReport(__LINE__)) ShowModuleDirectory(CMainFrame::Instance(), s->Directory());
    });
    RegisterCommandHandler(CMD_DEVICE_LOAD,
                           [](const NodeCommandContext& ctx) { RunTransfer(ctx, CTransferDialog::Mode::Load); });
    RegisterCommandHandler(CMD_DEVICE_READ,
                           [](const NodeCommandContext& ctx) { RunTransfer(ctx, CTransferDialog::Mode::Read); });
    RegisterCommandHandler(CMD_DEVICE_DELETE, [](const NodeCommandContext& ctx) {
        if (CDeviceSession* s = SessionOrReport(__LINE__)) DeleteInModule(s->Comm(), ctx.list, ctx.selectedRows);
    });
    RegisterCommandHandler(CMD_KEYBOARD, [](const NodeCommandContext& ctx) {
        if (CDeviceSession* s = SessionOrReport(__LINE__)) CBetriebstastaturDlg::Run(s->Comm(), ctx.parent);
    });
}
