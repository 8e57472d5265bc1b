#pragma once
// Base class of the program's own window classes. The class is registered on first use under
// the name the subclass gives; the object is found through GWLP_USERDATA (set at WM_NCCREATE)
// and the window procedure hands each message to a virtual handler. No exception leaves the
// window procedure. A window belongs to the thread that created it.
#include <windows.h>

#include <string>

namespace tw {

// The module (executable or DLL) this code is linked into: where its resources live.
HINSTANCE ModuleInstance();

class CWindow {
 public:
  CWindow() = default;
  CWindow(const CWindow&) = delete;
  CWindow& operator=(const CWindow&) = delete;
  // Destroys a window still open, without calling the handlers (the subclass is already gone:
  // a subclass that needs OnDestroy calls Destroy in its own destructor).
  virtual ~CWindow();

  // Creates the window; false when the class cannot be registered or creation fails (also
  // when OnCreate refuses). The title is code page 932 text or UTF-16.
  bool Create(DWORD exStyle, DWORD style, const std::string& titleCp932, const RECT& rect,
              HWND parent = nullptr, HMENU menuOrId = nullptr);
  bool Create(DWORD exStyle, DWORD style, const std::wstring& title, const RECT& rect,
              HWND parent = nullptr, HMENU menuOrId = nullptr);

  HWND Handle() const { return hwnd_; }
  void Destroy();
  LRESULT SendMessage(UINT message, WPARAM wp = 0, LPARAM lp = 0) const;
  bool PostMessage(UINT message, WPARAM wp = 0, LPARAM lp = 0) const;
  bool SetTimer(UINT_PTR id, UINT ms);
  void KillTimer(UINT_PTR id);

  // When set, the object deletes itself after its window is gone (an object made with new
  // that nobody else owns). A failed Create never deletes it.
  void SetDeleteOnDestroy(bool on) { deleteOnDestroy_ = on; }

  // The object behind a window of one of our classes; nullptr for any other window.
  static CWindow* FromHandle(HWND hwnd);

 protected:
  // The window class name; registered on the first Create with the settings PrepareClass makes.
  virtual const wchar_t* ClassName() const = 0;
  // Default: arrow cursor, COLOR_WINDOW background, CS_DBLCLKS.
  virtual void PrepareClass(WNDCLASSEXW& wc) const;

  // Handlers. Those returning bool return false to leave the message to OnMessage.
  virtual bool OnCreate(const CREATESTRUCTW& cs) { return true; }  // false aborts creation
  virtual void OnDestroy() {}
  virtual void OnClose() { Destroy(); }
  virtual bool OnCommand(int id, int code, HWND control) { return false; }
  virtual void OnTimer(UINT_PTR id) {}
  // Called between BeginPaint and EndPaint.
  virtual void OnPaint(HDC dc, const PAINTSTRUCT& ps) {}
  // WM_MOUSEMOVE and the button down/up/double-click messages, client coordinates; keys is
  // the MK_ flags.
  virtual bool OnMouse(UINT message, int x, int y, UINT keys) { return false; }
  // WM_MOUSEWHEEL: delta in WHEEL_DELTA steps, screen coordinates.
  virtual bool OnMouseWheel(int delta, int screenX, int screenY, UINT keys) { return false; }
  virtual void OnSize(UINT type, int width, int height) {}
  // WM_APP + n; the default passes it to OnMessage.
  virtual LRESULT OnAppMessage(UINT n, WPARAM wp, LPARAM lp);
  // Every other message; the default is DefWindowProcW.
  virtual LRESULT OnMessage(UINT message, WPARAM wp, LPARAM lp);
  // Last message the object sees; the handle is cleared after it.
  virtual void OnNcDestroy() {}

 private:
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wp, LPARAM lp);
  LRESULT Dispatch(UINT message, WPARAM wp, LPARAM lp);
  LRESULT NcDestroy(WPARAM wp, LPARAM lp);
  bool EnsureClass() const;

  HWND hwnd_ = nullptr;
  bool created_ = false;
  bool deleteOnDestroy_ = false;
};

}  // namespace tw
