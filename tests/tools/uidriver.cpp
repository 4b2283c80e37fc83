// The UI driver of the scenario tests: a small Win32 console program run under Wine beside
// the program under test. Each call does one thing and prints what it found.
//
//   wait-window CLASS TITLE [MS]      wait for a visible-or-not top-level window ("-" = any);
//                                      prints its handle
//   catch-window CLASS [MS]           poll hard for a short-lived window; prints its class,
//                                      title and state the first time it is seen minimised
//   windows CLASS TITLE               list top-level windows: handle, pid, flags, class, title
//   count CLASS                       number of top-level windows of a class
//   info HWND                         class, title, visible, enabled, minimised, pid
//   controls HWND                     every child: id, class, visible, enabled, text and its
//                                      rectangle in HWND's client area
//   text HWND ID                      a control's text (ID 0 = the window's own)
//   set-text HWND ID TEXT             set a control's text (with WM_SETTEXT)
//   click HWND ID                     post a click to a button
//   check HWND ID 0|1                 click a check box until it has that state
//   checked HWND ID                   a check box's state: 0 or 1
//   sheet HWND back|next|finish|cancel  press a property-sheet button
//   close HWND                        post WM_CLOSE to a window (its close box)
//   type HWND ID TEXT                 post the text's characters to a control (WM_CHAR)
//   key HWND ID VK                    post a key press (virtual-key code) to a control
//   items HWND ID                     a list box's rows: index, item data (hex) and text, tab-separated
//   select HWND ID INDEX              select a list box row and tell its parent (LBN_SELCHANGE)
//   notify HWND ID CODE               post a control's WM_COMMAND notification to its parent
//   click-row HWND ID INDEX X         post a left click at X pixels into a list box row, at its
//                                      vertical middle
//   page SHEET                        the property sheet's current page: its handle
//   rect HWND [ID]                    window and client rectangles in screen coordinates; with
//                                      an ID, the control's rectangle in the window's client area
//   layout HWND                       the screen (size, DPI), the work area and the window's
//                                      rectangle, then every visible child at any depth: handle,
//                                      parent, id, class, rectangle in the parent's client area,
//                                      the parent's client size, the width of its text in the
//                                      shell dialog font, its style (hex)
//   answer BUTTON-ID [MS] [PID]       wait for a message box, print its caption, text, handle and
//                                      its owner's class and title, press a button
//   make-window CLASS TITLE MS        create a top-level window of that class and keep it for MS;
//                                      prints "session-end" when Windows asks it to end the session
//   wait-gone HWND [MS]               wait until a window is destroyed
//   run-watched PROGRAM CLASS         run a program under this driver as its debugger, stop it
//                                      when it posts its quit message, print the state of its
//                                      window of that class then, let it end, print its exit code
//   look [KEY] [MS]                   the window a user would act on now, once it has held still
//                                      for a moment: kind (sheet, message, progress, none, or
//                                      other for a window of no known kind), handle, title, screen
//                                      rectangle, sheet page, usable buttons, text, and its key;
//                                      with KEY, wait up to MS (2000) for a window whose key
//                                      differs; exit code 1 when none came
//   freeze HWND                       suspend the thread of a window (it stays on the screen as
//                                      drawn); exit code 1 when the window is gone by then
//   thaw HWND                         resume the thread of a window
//
// Exit code 0 on success, 1 when a wait timed out or a window is missing, 2 on bad use.
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

// Handles as the driver prints them (%p: hexadecimal, with or without "0x").
static HWND ParseWindow(const char* text) { return (HWND)(UINT_PTR)strtoull(text, NULL, 16); }

static bool Matches(HWND window, const char* className, const char* title)
{
    char buffer[512];
    if (strcmp(className, "-")) {
        GetClassNameA(window, buffer, sizeof buffer);
        if (lstrcmpiA(buffer, className)) return false;
    }
    if (strcmp(title, "-")) {
        GetWindowTextA(window, buffer, sizeof buffer);
        if (strcmp(buffer, title)) return false;
    }
    return true;
}

struct FindRequest {
    const char* className;
    const char* title;
    DWORD pid;
    HWND found[256];
    int count;
};

static BOOL CALLBACK CollectWindow(HWND window, LPARAM param)
{
    FindRequest* request = (FindRequest*)param;
    if (!Matches(window, request->className, request->title)) return TRUE;
    if (request->pid) {
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        if (pid != request->pid) return TRUE;
    }
    if (request->count < 256) request->found[request->count++] = window;
    return TRUE;
}

static int FindWindows(FindRequest* request)
{
    request->count = 0;
    EnumWindows(CollectWindow, (LPARAM)request);
    return request->count;
}

static void PrintInfo(HWND window)
{
    char className[256], title[512];
    GetClassNameA(window, className, sizeof className);
    GetWindowTextA(window, title, sizeof title);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    printf("class=%s\ntitle=%s\nvisible=%d\nenabled=%d\nminimised=%d\npid=%lu\n", className, title,
           IsWindowVisible(window) ? 1 : 0, IsWindowEnabled(window) ? 1 : 0,
           IsIconic(window) ? 1 : 0, (unsigned long)pid);
}

static void GetControlText(HWND control, char* buffer, int size)
{
    buffer[0] = 0;
    DWORD_PTR result = 0;
    SendMessageTimeoutA(control, WM_GETTEXT, size, (LPARAM)buffer, SMTO_ABORTIFHUNG, 5000, &result);
}

static void PrintEscaped(const char* text)
{
    for (; *text; text++) {
        if (*text == '\r') fputs("\\r", stdout);
        else if (*text == '\n') fputs("\\n", stdout);
        else if (*text == '\\') fputs("\\\\", stdout);
        else putchar(*text);
    }
}

static BOOL CALLBACK PrintControl(HWND control, LPARAM param)
{
    char className[256], text[4096];
    GetClassNameA(control, className, sizeof className);
    GetControlText(control, text, sizeof text);
    printf("%d\t%s\t%d\t%d\t", GetDlgCtrlID(control), className, IsWindowVisible(control) ? 1 : 0,
           IsWindowEnabled(control) ? 1 : 0);
    PrintEscaped(text);
    RECT rect;
    GetWindowRect(control, &rect);
    MapWindowPoints(NULL, (HWND)param, (POINT*)&rect, 2);
    printf("\t%ld,%ld,%ld,%ld\n", rect.left, rect.top, rect.right, rect.bottom);
    return TRUE;
}

// The width of a window's text on one line in the shell dialog font at the screen's DPI, the
// font of setup's dialogs (the window's own font handle means nothing in this process).
static int TextWidth(HWND window)
{
    char text[4096];
    GetControlText(window, text, sizeof text);
    HDC dc = GetDC(NULL);
    HFONT font = CreateFontA(-MulDiv(8, GetDeviceCaps(dc, LOGPIXELSY), 72), 0, 0, 0, FW_NORMAL, 0, 0, 0,
                             DEFAULT_CHARSET, 0, 0, 0, 0, "MS Shell Dlg 2");
    HGDIOBJ old = SelectObject(dc, font);
    SIZE size = { 0, 0 };
    GetTextExtentPoint32A(dc, text, lstrlenA(text), &size);
    SelectObject(dc, old);
    DeleteObject(font);
    ReleaseDC(NULL, dc);
    return size.cx;
}

static BOOL CALLBACK PrintLayout(HWND child, LPARAM)
{
    if (!IsWindowVisible(child)) return TRUE;
    HWND parent = GetParent(child);
    char className[256];
    GetClassNameA(child, className, sizeof className);
    RECT rect, client;
    GetWindowRect(child, &rect);
    MapWindowPoints(NULL, parent, (POINT*)&rect, 2);
    GetClientRect(parent, &client);
    printf("%p\t%p\t%d\t%s\t%ld,%ld,%ld,%ld\t%ld,%ld\t%d\t%lx\n", (void*)child, (void*)parent, GetDlgCtrlID(child),
           className, rect.left, rect.top, rect.right, rect.bottom, client.right, client.bottom, TextWidth(child),
           (unsigned long)GetWindowLongA(child, GWL_STYLE));
    return TRUE;
}

// A message box is a dialog with the static text control 0xFFFF.
static HWND FindMessageBox(DWORD pid)
{
    FindRequest request = { "#32770", "-", pid, {}, 0 };
    FindWindows(&request);
    for (int i = 0; i < request.count; i++)
        if (IsWindowVisible(request.found[i]) && GetDlgItem(request.found[i], 0xFFFF))
            return request.found[i];
    return NULL;
}

static LRESULT CALLBACK PlainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_QUERYENDSESSION) {
        printf("session-end\n");
        fflush(stdout);
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// Runs a program as its debugger with a breakpoint on user32's PostQuitMessage: at that moment
// the program's main window still exists in its final state, however short its life.
static int RunWatched(const char* program, const char* className)
{
    char commandLine[MAX_PATH + 2];
    snprintf(commandLine, sizeof commandLine, "\"%s\"", program);
    char folder[MAX_PATH];
    snprintf(folder, sizeof folder, "%s", program);
    char* slash = strrchr(folder, '\\');
    if (slash) slash[1] = 0;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process;
    if (!CreateProcessA(program, commandLine, NULL, NULL, FALSE, DEBUG_ONLY_THIS_PROCESS, NULL,
                        slash ? folder : NULL, &startup, &process)) {
        fprintf(stderr, "uidriver: cannot start %s (%lu)\n", program, GetLastError());
        return 1;
    }
    HMODULE localUser32 = GetModuleHandleA("user32.dll");
    ULONG_PTR offset = (ULONG_PTR)GetProcAddress(localUser32, "PostQuitMessage") - (ULONG_PTR)localUser32;
    ULONG_PTR breakAt = 0;
    BYTE original = 0;
    bool armed = false, reported = false;
    DWORD exitCode = 0;

    for (;;) {
        DEBUG_EVENT event;
        if (!WaitForDebugEvent(&event, 60000)) {
            fprintf(stderr, "uidriver: the program did not end within 60 s\n");
            TerminateProcess(process.hProcess, 1);
            return 1;
        }
        DWORD continueStatus = DBG_CONTINUE;
        if (event.dwDebugEventCode == CREATE_PROCESS_DEBUG_EVENT) {
            if (event.u.CreateProcessInfo.hFile) CloseHandle(event.u.CreateProcessInfo.hFile);
        } else if (event.dwDebugEventCode == LOAD_DLL_DEBUG_EVENT) {
            if (event.u.LoadDll.hFile) CloseHandle(event.u.LoadDll.hFile);
        } else if (event.dwDebugEventCode == EXIT_PROCESS_DEBUG_EVENT) {
            exitCode = event.u.ExitProcess.dwExitCode;
            ContinueDebugEvent(event.dwProcessId, event.dwThreadId, DBG_CONTINUE);
            break;
        } else if (event.dwDebugEventCode == EXCEPTION_DEBUG_EVENT) {
            EXCEPTION_RECORD* record = &event.u.Exception.ExceptionRecord;
            ULONG_PTR address = (ULONG_PTR)record->ExceptionAddress;
            if (record->ExceptionCode != EXCEPTION_BREAKPOINT) {
                continueStatus = DBG_EXCEPTION_NOT_HANDLED;
            } else if (!armed) {
                // The loader's breakpoint: the program's imports are loaded, so find its user32.
                armed = true;
                HMODULE modules[512];
                DWORD needed = 0;
                EnumProcessModules(process.hProcess, modules, sizeof modules, &needed);
                for (DWORD i = 0; i < needed / sizeof(HMODULE) && i < 512; i++) {
                    char name[MAX_PATH];
                    if (GetModuleBaseNameA(process.hProcess, modules[i], name, sizeof name) && !lstrcmpiA(name, "user32.dll"))
                        breakAt = (ULONG_PTR)modules[i] + offset;
                }
                BYTE trap = 0xCC;
                SIZE_T done = 0;
                if (breakAt && ReadProcessMemory(process.hProcess, (void*)breakAt, &original, 1, &done)) {
                    DWORD oldProtect;
                    VirtualProtectEx(process.hProcess, (void*)breakAt, 1, PAGE_EXECUTE_READWRITE, &oldProtect);
                    WriteProcessMemory(process.hProcess, (void*)breakAt, &trap, 1, &done);
                    FlushInstructionCache(process.hProcess, (void*)breakAt, 1);
                } else {
                    fprintf(stderr, "uidriver: cannot find PostQuitMessage in the program\n");
                }
            } else if (address == breakAt && breakAt) {
                FindRequest request = { className, "-", event.dwProcessId, {}, 0 };
                if (FindWindows(&request)) {
                    PrintInfo(request.found[0]);
                    reported = true;
                } else {
                    printf("window=none\n");
                }
                fflush(stdout);
                SIZE_T done = 0;
                WriteProcessMemory(process.hProcess, (void*)breakAt, &original, 1, &done);
                FlushInstructionCache(process.hProcess, (void*)breakAt, 1);
                HANDLE thread = OpenThread(THREAD_ALL_ACCESS, FALSE, event.dwThreadId);
                CONTEXT context = {};
                context.ContextFlags = CONTEXT_CONTROL;
                GetThreadContext(thread, &context);
                context.Rip = breakAt;
                SetThreadContext(thread, &context);
                CloseHandle(thread);
            }
        }
        ContinueDebugEvent(event.dwProcessId, event.dwThreadId, continueStatus);
    }
    if (!reported) printf("window=none\n");
    printf("exit=%lu\n", (unsigned long)exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return 0;
}

// What "look" reports of one moment: the window to act on and what is in it.
struct Look {
    const char* kind;
    HWND window;
    HWND page;
    char title[512];
    char text[4096];
    char buttons[128];
    int position;
    char key[96];
    char signature[1024];
};

static HWND VisibleButton(HWND parent, int id)
{
    HWND button = GetDlgItem(parent, id);
    return button && IsWindowVisible(button) && IsWindowEnabled(button) ? button : NULL;
}

// A message box has the static text 0xFFFF; a progress window a progress bar; a property sheet
// names its current page. Every other window is none of this program's.
static const char* WindowKind(HWND window, HWND* page)
{
    char className[64];
    *page = NULL;
    GetClassNameA(window, className, sizeof className);
    if (strcmp(className, "#32770")) return "other";
    if (GetDlgItem(window, 0xFFFF)) return "message";
    if (FindWindowExA(window, NULL, PROGRESS_CLASSA, NULL)) return "progress";
    DWORD_PTR current = 0;
    SendMessageTimeoutA(window, PSM_GETCURRENTPAGEHWND, 0, 0, SMTO_ABORTIFHUNG, 2000, &current);
    *page = (HWND)current;
    return current ? "sheet" : "other";
}

static int KindRank(const char* kind)
{
    if (!strcmp(kind, "other")) return 4;
    if (!strcmp(kind, "message")) return 3;
    if (!strcmp(kind, "sheet")) return 2;
    return 1;
}

// An unknown window outranks everything, so that it is never passed over; then a message box,
// which stands in front of its owner, then a sheet, then a progress window. Minimised windows
// (the setup's main window) and disabled ones (owners of a modal box) are not acted on.
static void TakeLook(Look* look)
{
    FindRequest request = { "-", "-", 0, {}, 0 };
    FindWindows(&request);
    ZeroMemory(look, sizeof *look);
    look->kind = "none";
    int bestRank = 0;
    for (int i = 0; i < request.count; i++) {
        HWND window = request.found[i];
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        if (pid == GetCurrentProcessId() || !IsWindowVisible(window) || IsIconic(window)) continue;
        HWND page;
        const char* kind = WindowKind(window, &page);
        int rank = KindRank(kind);
        if (rank < 4 && !IsWindowEnabled(window)) continue;
        if (rank > bestRank) {
            bestRank = rank;
            look->kind = kind;
            look->window = window;
            look->page = page;
        }
    }
    if (look->window) {
        GetWindowTextA(look->window, look->title, sizeof look->title);
        if (!strcmp(look->kind, "message")) {
            GetControlText(GetDlgItem(look->window, 0xFFFF), look->text, sizeof look->text);
            static const int ids[] = { IDOK, IDCANCEL, IDABORT, IDRETRY, IDIGNORE, IDYES, IDNO };
            for (int id : ids)
                if (VisibleButton(look->window, id))
                    snprintf(look->buttons + strlen(look->buttons), sizeof look->buttons - strlen(look->buttons), "%s%d",
                             look->buttons[0] ? " " : "", id);
        } else if (!strcmp(look->kind, "sheet")) {
            static const struct { int id; const char* name; } wizard[] = {
                { 12323, "back" }, { 12324, "next" }, { 12325, "finish" }, { IDCANCEL, "cancel" } };
            for (const auto& button : wizard)
                if (VisibleButton(look->window, button.id))
                    snprintf(look->buttons + strlen(look->buttons), sizeof look->buttons - strlen(look->buttons), "%s%s",
                             look->buttons[0] ? " " : "", button.name);
        } else if (!strcmp(look->kind, "progress")) {
            HWND bar = FindWindowExA(look->window, NULL, PROGRESS_CLASSA, NULL);
            DWORD_PTR position = 0;
            SendMessageTimeoutA(bar, PBM_GETPOS, 0, 0, SMTO_ABORTIFHUNG, 2000, &position);
            look->position = (int)position;
        }
    }
    snprintf(look->key, sizeof look->key, "%s:%p:%p", look->kind, (void*)look->window, (void*)look->page);
    snprintf(look->signature, sizeof look->signature, "%s|%s|%s", look->key, look->title, look->buttons);
}

static void PrintLook(const Look* look)
{
    RECT rect = {};
    if (look->window) GetWindowRect(look->window, &rect);
    printf("kind=%s\nwindow=%p\ntitle=%s\nrect=%ld,%ld,%ld,%ld\npage=%p\nbuttons=%s\nposition=%d\ntext=", look->kind,
           (void*)look->window, look->title, rect.left, rect.top, rect.right, rect.bottom, (void*)look->page,
           look->buttons, look->position);
    PrintEscaped(look->text);
    printf("\nkey=%s\n", look->key);
}

// Waits for a look whose key differs from the given one and that stays the same for 250 ms:
// a page that has just come up sets its buttons and draws itself only after a few messages.
static int LookAround(const char* lastKey, DWORD timeout)
{
    Look look, previous;
    DWORD start = GetTickCount(), steadySince = 0;
    bool havePrevious = false;
    for (;;) {
        TakeLook(&look);
        DWORD now = GetTickCount();
        if (!havePrevious || strcmp(look.signature, previous.signature)) steadySince = now;
        previous = look;
        havePrevious = true;
        bool changed = !lastKey || strcmp(look.key, lastKey);
        if (changed && now - steadySince >= 250) break;
        if (now - start >= timeout) {
            PrintLook(&look);
            return 1;
        }
        Sleep(50);
    }
    PrintLook(&look);
    return 0;
}

static int Usage()
{
    fprintf(stderr, "uidriver: bad arguments (see the comment at the top of uidriver.cpp)\n");
    return 2;
}

int main(int argc, char** argv)
{
    if (argc < 2) return Usage();
    const char* command = argv[1];
    InitCommonControls();

    if (!strcmp(command, "wait-window") && argc >= 4) {
        DWORD timeout = argc > 4 ? (DWORD)atoi(argv[4]) : 20000;
        DWORD start = GetTickCount();
        FindRequest request = { argv[2], argv[3], 0, {}, 0 };
        do {
            if (FindWindows(&request)) {
                printf("%p\n", (void*)request.found[0]);
                return 0;
            }
            Sleep(20);
        } while (GetTickCount() - start < timeout);
        fprintf(stderr, "uidriver: no window %s \"%s\" within %lu ms\n", argv[2], argv[3], (unsigned long)timeout);
        return 1;
    }

    if (!strcmp(command, "catch-window") && argc >= 3) {
        DWORD timeout = argc > 3 ? (DWORD)atoi(argv[3]) : 20000;
        DWORD start = GetTickCount();
        HWND seen = NULL;
        char lastClass[256] = "", lastTitle[512] = "";
        while (GetTickCount() - start < timeout) {
            HWND window = FindWindowA(argv[2], NULL);
            if (!window) {
                if (seen) break;
                continue;  // poll without sleeping: the window may live only milliseconds
            }
            seen = window;
            GetClassNameA(window, lastClass, sizeof lastClass);
            GetWindowTextA(window, lastTitle, sizeof lastTitle);
            if (IsIconic(window) && IsWindow(window)) {
                printf("class=%s\ntitle=%s\nminimised=1\n", lastClass, lastTitle);
                return 0;
            }
        }
        if (seen) {
            printf("class=%s\ntitle=%s\nminimised=0\n", lastClass, lastTitle);
            return 0;
        }
        fprintf(stderr, "uidriver: no window of class %s within %lu ms\n", argv[2], (unsigned long)timeout);
        return 1;
    }

    if (!strcmp(command, "windows") && argc >= 4) {
        FindRequest request = { argv[2], argv[3], 0, {}, 0 };
        FindWindows(&request);
        for (int i = 0; i < request.count; i++) {
            char className[256], title[512];
            GetClassNameA(request.found[i], className, sizeof className);
            GetWindowTextA(request.found[i], title, sizeof title);
            DWORD pid = 0;
            GetWindowThreadProcessId(request.found[i], &pid);
            printf("%p\t%lu\t%d%d%d\t%s\t%s\n", (void*)request.found[i], (unsigned long)pid,
                   IsWindowVisible(request.found[i]) ? 1 : 0, IsWindowEnabled(request.found[i]) ? 1 : 0,
                   IsIconic(request.found[i]) ? 1 : 0, className, title);
        }
        return 0;
    }

    if (!strcmp(command, "count") && argc >= 3) {
        FindRequest request = { argv[2], "-", 0, {}, 0 };
        printf("%d\n", FindWindows(&request));
        return 0;
    }

    if (!strcmp(command, "info") && argc >= 3) {
        HWND window = ParseWindow(argv[2]);
        if (!IsWindow(window)) return 1;
        PrintInfo(window);
        return 0;
    }

    if (!strcmp(command, "controls") && argc >= 3) {
        HWND window = ParseWindow(argv[2]);
        if (!IsWindow(window)) return 1;
        EnumChildWindows(window, PrintControl, (LPARAM)window);
        return 0;
    }

    if (!strcmp(command, "text") && argc >= 4) {
        HWND window = ParseWindow(argv[2]);
        int id = atoi(argv[3]);
        HWND control = id ? GetDlgItem(window, id) : window;
        if (!control) return 1;
        char text[8192];
        GetControlText(control, text, sizeof text);
        PrintEscaped(text);
        putchar('\n');
        return 0;
    }

    if (!strcmp(command, "set-text") && argc >= 5) {
        HWND control = GetDlgItem(ParseWindow(argv[2]), atoi(argv[3]));
        if (!control) return 1;
        DWORD_PTR result = 0;
        SendMessageTimeoutA(control, WM_SETTEXT, 0, (LPARAM)argv[4], SMTO_ABORTIFHUNG, 5000, &result);
        return 0;
    }

    if (!strcmp(command, "click") && argc >= 4) {
        HWND control = GetDlgItem(ParseWindow(argv[2]), atoi(argv[3]));
        if (!control) return 1;
        // Posted, so that a click that opens a modal box does not hold the driver.
        PostMessageA(control, BM_CLICK, 0, 0);
        return 0;
    }

    if (!strcmp(command, "check") && argc >= 5) {
        HWND control = GetDlgItem(ParseWindow(argv[2]), atoi(argv[3]));
        if (!control) return 1;
        LRESULT wanted = atoi(argv[4]) ? BST_CHECKED : BST_UNCHECKED;
        for (int tries = 0; tries < 3; tries++) {
            DWORD_PTR state = 0;
            SendMessageTimeoutA(control, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 5000, &state);
            if ((LRESULT)state == wanted) return 0;
            SendMessageTimeoutA(control, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 5000, &state);
        }
        return 1;
    }

    if (!strcmp(command, "checked") && argc >= 4) {
        HWND control = GetDlgItem(ParseWindow(argv[2]), atoi(argv[3]));
        if (!control) return 1;
        DWORD_PTR state = 0;
        SendMessageTimeoutA(control, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 5000, &state);
        printf("%d\n", state == BST_CHECKED ? 1 : 0);
        return 0;
    }

    if (!strcmp(command, "sheet") && argc >= 4) {
        HWND sheet = ParseWindow(argv[2]);
        int button;
        if (!strcmp(argv[3], "back")) button = PSBTN_BACK;
        else if (!strcmp(argv[3], "next")) button = PSBTN_NEXT;
        else if (!strcmp(argv[3], "finish")) button = PSBTN_FINISH;
        else if (!strcmp(argv[3], "cancel")) button = PSBTN_CANCEL;
        else return Usage();
        if (!IsWindow(sheet)) return 1;
        PostMessageA(sheet, PSM_PRESSBUTTON, button, 0);
        return 0;
    }

    if (!strcmp(command, "close") && argc >= 3) {
        HWND window = ParseWindow(argv[2]);
        if (!IsWindow(window)) return 1;
        PostMessageA(window, WM_CLOSE, 0, 0);
        return 0;
    }

    if (!strcmp(command, "type") && argc >= 5) {
        HWND control = GetDlgItem(ParseWindow(argv[2]), atoi(argv[3]));
        if (!control) return 1;
        for (const char* character = argv[4]; *character; character++)
            PostMessageA(control, WM_CHAR, (BYTE)*character, 1);
        return 0;
    }

    if (!strcmp(command, "key") && argc >= 5) {
        HWND control = GetDlgItem(ParseWindow(argv[2]), atoi(argv[3]));
        if (!control) return 1;
        WPARAM key = (WPARAM)strtoul(argv[4], NULL, 0);
        LPARAM scan = (LPARAM)MapVirtualKeyA((UINT)key, 0) << 16;
        PostMessageA(control, WM_KEYDOWN, key, scan | 1);
        PostMessageA(control, WM_KEYUP, key, scan | 1 | 0xC0000000);
        return 0;
    }

    if (!strcmp(command, "items") && argc >= 4) {
        HWND list = GetDlgItem(ParseWindow(argv[2]), atoi(argv[3]));
        if (!list) return 1;
        DWORD_PTR count = 0;
        SendMessageTimeoutA(list, LB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, 5000, &count);
        for (int row = 0; row < (int)count; row++) {
            DWORD_PTR length = 0, data = 0;
            SendMessageTimeoutA(list, LB_GETTEXTLEN, row, 0, SMTO_ABORTIFHUNG, 5000, &length);
            SendMessageTimeoutA(list, LB_GETITEMDATA, row, 0, SMTO_ABORTIFHUNG, 5000, &data);
            // Wine hands LB_GETTEXT across processes back in UTF-16 whatever was asked.
            WCHAR wide[1024] = L"";
            char text[1024] = "";
            if (length < sizeof wide / sizeof wide[0]) {
                DWORD_PTR ignored = 0;
                SendMessageTimeoutW(list, LB_GETTEXT, row, (LPARAM)wide, SMTO_ABORTIFHUNG, 5000, &ignored);
                WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, NULL, NULL);
            }
            printf("%d\t%08lx\t%s\n", row, (unsigned long)data, text);
        }
        return 0;
    }

    if (!strcmp(command, "select") && argc >= 5) {
        HWND dialog = ParseWindow(argv[2]);
        int id = atoi(argv[3]);
        HWND list = GetDlgItem(dialog, id);
        if (!list) return 1;
        DWORD_PTR result = 0;
        SendMessageTimeoutA(list, LB_SETCURSEL, atoi(argv[4]), 0, SMTO_ABORTIFHUNG, 5000, &result);
        if ((LRESULT)result == LB_ERR) return 1;
        // LB_SETCURSEL itself does not notify, unlike a click.
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, LBN_SELCHANGE), (LPARAM)list);
        return 0;
    }

    if (!strcmp(command, "notify") && argc >= 5) {
        HWND dialog = ParseWindow(argv[2]);
        int id = atoi(argv[3]);
        if (!GetDlgItem(dialog, id)) return 1;
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, atoi(argv[4])), (LPARAM)GetDlgItem(dialog, id));
        return 0;
    }

    if (!strcmp(command, "click-row") && argc >= 6) {
        HWND list = GetDlgItem(ParseWindow(argv[2]), atoi(argv[3]));
        if (!list) return 1;
        RECT row;
        DWORD_PTR result = 0;
        if (!SendMessageTimeoutA(list, LB_GETITEMRECT, atoi(argv[4]), (LPARAM)&row, SMTO_ABORTIFHUNG, 5000, &result) ||
            (LRESULT)result == LB_ERR)
            return 1;
        LPARAM point = MAKELPARAM(row.left + atoi(argv[5]), (row.top + row.bottom) / 2);
        PostMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, point);
        PostMessageA(list, WM_LBUTTONUP, 0, point);
        return 0;
    }

    if (!strcmp(command, "page") && argc >= 3) {
        HWND sheet = ParseWindow(argv[2]);
        if (!IsWindow(sheet)) return 1;
        DWORD_PTR page = 0;
        SendMessageTimeoutA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0, SMTO_ABORTIFHUNG, 5000, &page);
        if (!page) return 1;
        printf("%p\n", (void*)page);
        return 0;
    }

    if (!strcmp(command, "rect") && argc >= 3) {
        HWND window = ParseWindow(argv[2]);
        if (!IsWindow(window)) return 1;
        if (argc >= 4) {
            HWND control = GetDlgItem(window, atoi(argv[3]));
            if (!control) return 1;
            RECT rect;
            GetWindowRect(control, &rect);
            MapWindowPoints(NULL, window, (POINT*)&rect, 2);
            printf("%ld,%ld,%ld,%ld\n", rect.left, rect.top, rect.right, rect.bottom);
            return 0;
        }
        RECT rect, client;
        GetWindowRect(window, &rect);
        GetClientRect(window, &client);
        MapWindowPoints(window, NULL, (POINT*)&client, 2);
        printf("window=%ld,%ld,%ld,%ld\nclient=%ld,%ld,%ld,%ld\n", rect.left, rect.top, rect.right, rect.bottom,
               client.left, client.top, client.right, client.bottom);
        return 0;
    }

    if (!strcmp(command, "layout") && argc >= 3) {
        HWND window = ParseWindow(argv[2]);
        if (!IsWindow(window)) return 1;
        RECT rect, work;
        GetWindowRect(window, &rect);
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
        HDC screen = GetDC(NULL);
        int dpi = GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(NULL, screen);
        printf("screen\t%d,%d\t%d\nwork\t%ld,%ld,%ld,%ld\nwindow\t%ld,%ld,%ld,%ld\n", GetSystemMetrics(SM_CXSCREEN),
               GetSystemMetrics(SM_CYSCREEN), dpi, work.left, work.top, work.right, work.bottom, rect.left, rect.top,
               rect.right, rect.bottom);
        EnumChildWindows(window, PrintLayout, 0);
        return 0;
    }

    if (!strcmp(command, "answer") && argc >= 3) {
        int button = atoi(argv[2]);
        DWORD timeout = argc > 3 ? (DWORD)atoi(argv[3]) : 20000;
        DWORD pid = argc > 4 ? (DWORD)atoi(argv[4]) : 0;
        DWORD start = GetTickCount();
        do {
            HWND box = FindMessageBox(pid);
            if (box) {
                char caption[512], text[4096];
                GetWindowTextA(box, caption, sizeof caption);
                GetControlText(GetDlgItem(box, 0xFFFF), text, sizeof text);
                printf("caption=%s\ntext=", caption);
                PrintEscaped(text);
                HWND owner = GetWindow(box, GW_OWNER);
                char ownerClass[256] = "", ownerTitle[512] = "";
                if (owner) GetClassNameA(owner, ownerClass, sizeof ownerClass), GetWindowTextA(owner, ownerTitle, sizeof ownerTitle);
                printf("\nwindow=%p\nowner_class=%s\nowner_title=%s\n", (void*)box, ownerClass, ownerTitle);
                fflush(stdout);
                PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), (LPARAM)GetDlgItem(box, button));
                return 0;
            }
            Sleep(20);
        } while (GetTickCount() - start < timeout);
        fprintf(stderr, "uidriver: no message box within %lu ms\n", (unsigned long)timeout);
        return 1;
    }

    if (!strcmp(command, "make-window") && argc >= 5) {
        WNDCLASSA windowClass;
        ZeroMemory(&windowClass, sizeof windowClass);
        windowClass.lpfnWndProc = PlainWindowProc;
        windowClass.hInstance = GetModuleHandleA(NULL);
        windowClass.lpszClassName = argv[2];
        if (!RegisterClassA(&windowClass)) return 1;
        HWND window = CreateWindowExA(0, argv[2], argv[3], WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, NULL,
                                      NULL, windowClass.hInstance, NULL);
        if (!window) return 1;
        ShowWindow(window, SW_SHOWMINNOACTIVE);
        printf("%p\n", (void*)window);
        fflush(stdout);
        DWORD start = GetTickCount();
        DWORD lifetime = (DWORD)atoi(argv[4]);
        while (GetTickCount() - start < lifetime) {
            MSG message;
            while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
            MsgWaitForMultipleObjects(0, NULL, FALSE, 50, QS_ALLINPUT);
        }
        DestroyWindow(window);
        return 0;
    }

    if (!strcmp(command, "wait-gone") && argc >= 3) {
        HWND window = ParseWindow(argv[2]);
        DWORD timeout = argc > 3 ? (DWORD)atoi(argv[3]) : 20000;
        DWORD start = GetTickCount();
        while (IsWindow(window)) {
            if (GetTickCount() - start >= timeout) return 1;
            Sleep(20);
        }
        return 0;
    }

    if (!strcmp(command, "run-watched") && argc >= 4) return RunWatched(argv[2], argv[3]);

    if ((!strcmp(command, "freeze") || !strcmp(command, "thaw")) && argc >= 3) {
        HWND window = ParseWindow(argv[2]);
        DWORD threadId = GetWindowThreadProcessId(window, NULL);
        HANDLE thread = threadId ? OpenThread(THREAD_SUSPEND_RESUME, FALSE, threadId) : NULL;
        if (!thread) return 1;
        bool freeze = !strcmp(command, "freeze");
        DWORD result = freeze ? SuspendThread(thread) : ResumeThread(thread);
        // A window destroyed just before its thread stopped would leave another picture.
        if (freeze && result != (DWORD)-1 && !IsWindowVisible(window)) {
            ResumeThread(thread);
            result = (DWORD)-1;
        }
        CloseHandle(thread);
        return result == (DWORD)-1 ? 1 : 0;
    }

    if (!strcmp(command, "look"))
        return LookAround(argc > 2 ? argv[2] : NULL, argc > 3 ? (DWORD)atoi(argv[3]) : 2000);

    return Usage();
}
