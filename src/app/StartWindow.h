#pragma once

#include <QMainWindow>
#include <memory>

class AppActions;
namespace Ui {
class StartWindow;
}

// Shown whenever no document window is open: the shared menu bar and an
// "Open…" button. Closing it quits the application.
class StartWindow : public QMainWindow {
    Q_OBJECT

  public:
    explicit StartWindow(const AppActions& actions, QWidget* parent = nullptr);
    ~StartWindow() override;

    QWidget* openButton() const;

  signals:
    void closedByUser();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    std::unique_ptr<Ui::StartWindow> ui_;
};
