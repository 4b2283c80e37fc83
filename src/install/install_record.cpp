#include "install/install_record.h"
#include "core/error_status.h"

static void AddBlock(LogText* log, const LogText* block, ErrorStatus* status)
{
    if (block->text) AddLogText(log, block->text, status);
}

char* ComposeInstallLog(const InstallRecord* record, const char* logPath, const char* installDir,
                        ErrorStatus* status)
{
    LogText log = { NULL, 0, 0 };
    AddLogText(&log, "[UninstallFiles]\r\n", status);
    AddBlock(&log, &record->files, status);
    if (logPath[0]) AddLogEntry(&log, logPath, 0, status);
    AddLogText(&log, "\r\n[UninstallDirs]\r\n", status);
    AddBlock(&log, &record->subfolders, status);
    AddBlock(&log, &record->trees, status);
    AddBlock(&log, &record->madeFolders, status);
    if (installDir) AddLogEntry(&log, installDir, 0, status);
    AddBlock(&log, &record->later, status);
    if (status->code) FreeLogText(&log);
    return log.text;
}

void FreeInstallRecord(InstallRecord* record)
{
    FreeLogText(&record->files);
    FreeLogText(&record->subfolders);
    FreeLogText(&record->trees);
    FreeLogText(&record->madeFolders);
    FreeLogText(&record->later);
}
