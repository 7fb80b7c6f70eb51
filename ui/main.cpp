#include "CalcApp.h"

int main(int argc, char** argv) {
    CCalcApp app(argc, argv);
    return app.InitInstance();
}
