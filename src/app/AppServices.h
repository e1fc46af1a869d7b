#pragma once

class AppActions;
class PanelProvider;
class WindowDelegate;
class Workspace;

// What a document window uses of the application: who answers its close
// requests, the file panels, the desktop and the shared menu commands. The
// application delegate owns them; tests hand in their own recorders.
struct AppServices {
    WindowDelegate* windowDelegate = nullptr;
    PanelProvider* panels = nullptr;
    Workspace* workspace = nullptr;
    const AppActions* actions = nullptr;
};
