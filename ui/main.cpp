#include <QApplication>
#include <QIcon>

#include <cstdio>
#include <cstdlib>

#include "Artwork.h"
#include "FormFont.h"
#include "GetPathForm.h"
#include "MainForm.h"
#include "OutputFile.h"
#include "PageFetch.h"

namespace {

// Ends the process at once. Runs may still be going: their half-written files
// are removed first, and no static destructor may run under their feet.
[[noreturn]] void EndProcess()
{
    RemoveOutputFilesInFlight();
    std::fflush(nullptr);
    std::_Exit(EXIT_SUCCESS);
}

}  // namespace

int main(int argc, char* argv[])
{
    InitPageFetch();
    QApplication application(argc, argv);
    QApplication::setWindowIcon(QIcon(kApplicationIcon));
    QApplication::setFont(FormFont());

    TFormMain FormMain;
    TFormGetPath FormGetPath(&FormMain);
    FormMain.UseFolderChooser(&FormGetPath);
    QObject::connect(&FormMain, &TFormMain::Closed, [] { EndProcess(); });

    FormMain.show();
    application.exec();
    EndProcess();
}
