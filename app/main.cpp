#include "app/ErrorGuard.h"
#include "app/Form1.h"

int main(int argc, char* argv[]) {
    GuardedApplication application(argc, argv);
    TForm1 Form1;
    Form1.show();
    return application.exec();
}
