#include <QApplication>
#include <QIcon>

#include "Artwork.h"
#include "EndProcess.h"
#include "FormFont.h"
#include "GetPathForm.h"
#include "MainForm.h"
#include "PageFetch.h"

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
