#include "CalcApp.h"
#include "WindowCommandLine.h"

int main(int argc, char** argv) {
    if (const std::optional<int> status = AnswerWindowCommandLine(argc, argv))
        return *status;
    CCalcApp app(argc, argv);
    return app.InitInstance();
}
