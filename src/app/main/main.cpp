// Entry point of tidewatch.exe.
#include <windows.h>

#include "app/tidewatch_app.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  tw::CTidewatchApp app;
  return app.Run();
}
