#include "CPB/CPBTransferFrontEnd.h"

#include "CPB/CPBDialogTables.h"
#include "CPB/CPBGet.h"
#include "CPB/CPBMessage.h"
#include "CPB/CPBSend.h"
#include "CPB/CPBSendSelector.h"
#include "CPB/CPGGetSelector.h"
#include "CPB/ProgressDialog.h"
#include "Rodezir/LogStream.h"
#include "comm/ports/CalibrateManager.h"
#include "comm/link/SerialPort.h"

#include <QPointer>

#include <memory>

namespace {

// The progress window of one transfer, shown over the configuration dialog
// with its button disabled until the transfer is over.
QPointer<ProgressDialog> openProgress(int port, QWidget* parent)
{
    QPointer<ProgressDialog> progress = new ProgressDialog(parent);
    progress->setTitle(CPBMessage::text("Kova REV Evezodidaz on COM") + std::to_wstring(port));
    progress->enableButton(false);
    progress->show();
    return progress;
}

void finishProgress(ProgressDialog& progress)
{
    progress.setButtonText(CPBMessage::text("Close"));
    progress.enableButton(true);
}

SerialPort* controllerPort(int port)
{
    SerialPort* serialPort = CalibrateManager::get().getSerPort(port);
    KOVA_ASSERT(serialPort != nullptr);
    return serialPort;
}

} // namespace

void CPBTransferFrontEnd::install()
{
    CPBDialogTables::registerAll();
    CPBTransfer::install(std::make_unique<CPBTransferFrontEnd>());
}

void CPBTransferFrontEnd::sendSetup(const PropertyModel& setup, QWidget* parent)
{
    CPBSendSelector selector(CalibrateManager::get().getCPBList(), parent);
    if (selector.doModal() != QDialog::Accepted)
        return;
    const std::vector<int> ports = selector.chosen();
    for (std::size_t i = 0; i < ports.size(); ++i)
        send(ports[i], setup, parent, i + 1 == ports.size());
}

void CPBTransferFrontEnd::getSetup(PropertyModel& setup, QWidget* parent)
{
    CPGGetSelector selector(CalibrateManager::get().getCPBList(), parent);
    if (selector.doModal() != QDialog::Accepted || selector.chosen() < 0)
        return;
    get(selector.chosen(), setup, parent);
}

bool CPBTransferFrontEnd::send(int port, const PropertyModel& setup, QWidget* parent, bool keepOpen)
{
    SerialPort* serialPort = controllerPort(port);
    if (!serialPort)
        return false;
    QPointer<ProgressDialog> progress = openProgress(port, parent);
    CPBSend sender(setup, *progress);
    const bool succeeded = sender.send(*serialPort);
    if (!progress)
        return succeeded;
    finishProgress(*progress);
    if (succeeded && !keepOpen)
        progress->destroyWindow();
    return succeeded;
}

bool CPBTransferFrontEnd::get(int port, PropertyModel& setup, QWidget* parent)
{
    SerialPort* serialPort = controllerPort(port);
    if (!serialPort)
        return false;
    QPointer<ProgressDialog> progress = openProgress(port, parent);
    CPBGet fetcher(setup, *progress);
    const bool succeeded = fetcher.get(*serialPort);
    if (progress)
        finishProgress(*progress);
    return succeeded;
}
