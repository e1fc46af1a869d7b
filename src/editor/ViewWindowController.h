#pragma once

#include <QObject>

class QWidget;

// What an editing view needs of the document window that owns it: the
// window its sheets are shown on. The application's window controller
// implements it; the view holds it weakly (QPointer), so a view outliving
// its window finds it gone rather than dangling.
class ViewWindowController : public QObject {
    Q_OBJECT

  public:
    using QObject::QObject;

    // The document window, or null once it has gone.
    virtual QWidget* window() const = 0;
};
