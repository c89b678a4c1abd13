// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>

#include <QDialog>
#include <QPoint>
#include <QPointer>
#include <QPushButton>

namespace kerf::ui {

/// A tool window with the life of a form: one instance for the whole run;
/// its controls are built when it loads and destroyed when it closes (by its
/// exit button, Esc or the title bar), while the values the window object
/// holds stay for the next load. Each load runs the window's load handler.
class Form : public QDialog {
    Q_OBJECT
public:
    /// A window of the given client size in pixels and caption, owned by
    /// `owner`, in front of which it stays.
    Form(QWidget* owner, QSize clientSize, const QString& caption);

    /// Loads the window if it is not loaded, shows it without blocking
    /// others and brings it forward. The first time in the run it opens
    /// beside the main menu (the top of its chain of owners), cascaded after
    /// the tool windows open there and inside the screen; afterwards where
    /// it was when it last closed.
    void showModeless();
    /// The same, blocking every other window of the program until it closes.
    void showModal();

    /// True from loading to closing.
    bool isLoaded() const { return surface_ != nullptr; }

    /// Closes the window, destroying its controls; nothing else.
    void unload() { close(); }

signals:
    void unloaded();

protected:
    /// Builds the controls on `surface`, which covers the client area.
    virtual void buildControls(QWidget* surface) = 0;
    /// Runs after the controls are built, each time the window loads.
    virtual void Form_Load() {}
    /// Runs when the window is asked to close, before anything closes: false
    /// keeps it open (the user cancelled).
    virtual bool Form_QueryUnload() { return true; }
    /// Runs before the controls are destroyed: closes the windows this one owns.
    virtual void Form_Unload() {}

    /// The button that Esc presses (a disabled one is not pressed).
    void setCancelButton(QPushButton* button) { cancelButton_ = button; }

    void reject() override;
    void closeEvent(QCloseEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void load();
    /// Moves the window, about to be shown, to where it opens.
    void placeForShowing();

    QPointer<QWidget> surface_;
    QPointer<QPushButton> cancelButton_;
    /// Where the window's client area was when it was last hidden.
    std::optional<QPoint> lastPosition_;
};

/// Makes `widgets` the tab order, in the order given.
void chainTabOrder(std::initializer_list<QWidget*> widgets);

} // namespace kerf::ui
