#pragma once

#include "RecordingPrinter.h"
#include "platform/Printers.h"

// Printers a test names; each job goes to a RecordingPrinter the test can
// read afterwards (lastJob), or to a device a test hands in (nextDevice).
class FakePrinters : public platform::Printers {
public:
    QStringList printerNames() override { return names; }
    QStringList printerFonts(int index) override
    {
        fontRequests.append(index);
        return fonts;
    }
    Job startJob(int index, const QString&) override
    {
        startedJobs.append(index);
        Job job;
        if (cancelNext) {
            cancelNext = false;
            job.cancelled = true;
            return job;
        }
        if (nextDevice) {
            job.device = std::move(nextDevice);
            return job;
        }
        auto device = std::make_unique<RecordingPrinter>();
        if (prepare)
            prepare(*device);
        lastJob = device.get();
        job.device = std::move(device);
        return job;
    }

    QStringList names{QStringLiteral("Printer A"), QStringLiteral("Printer B")};
    QStringList fonts;
    bool cancelNext = false;
    std::unique_ptr<platform::PrinterDevice> nextDevice;
    std::function<void(RecordingPrinter&)> prepare;
    // Valid while the job's dialog keeps its device.
    RecordingPrinter* lastJob = nullptr;
    QList<int> startedJobs;
    QList<int> fontRequests;
};
