// Holds a message-only window and pumps its messages until killed. Under a persistent wineserver
// this keeps Wine's desktop process alive between test programs, so each later COM process starts
// without waiting for a new desktop.
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  WNDCLASSW window_class = {};
  window_class.lpfnWndProc = DefWindowProcW;
  window_class.hInstance = instance;
  window_class.lpszClassName = L"WenlockWineKeepAlive";
  if (!RegisterClassW(&window_class)) return 1;
  if (!CreateWindowExW(0, window_class.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                       instance, nullptr)) {
    return 1;
  }
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
  return 0;
}
