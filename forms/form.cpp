// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/form.h"

#include <QCloseEvent>
#include <QHideEvent>

#include "forms/window_placement.h"

namespace kerf::ui {

Form::Form(QWidget* owner, QSize clientSize, const QString& caption) : QDialog(owner)
{
    setWindowTitle(caption);
    setFixedSize(clientSize);
    setSizeGripEnabled(false);
    setModal(false);
    offerNoMaximize(this);
}

void Form::load()
{
    if (surface_)
        return;
    auto* surface = new QWidget(this);
    surface->setGeometry(QRect(QPoint(0, 0), size()));
    surface_ = surface;
    try {
        buildControls(surface);
    } catch (...) {
        // Memory ran out (the picture's image): not loaded, so that a later
        // showing builds the controls again rather than use half of them.
        delete surface;
        surface_ = nullptr;
        throw;
    }
    surface->show();
    Form_Load();
}

void Form::placeForShowing()
{
    if (isVisible())
        return;
    if (lastPosition_) {
        // The client area where it was: a window made anew has no frame yet,
        // and a frame position taken before the frame was known would move
        // it down by the title bar.
        setGeometry(QRect(*lastPosition_, size()));
        return;
    }
    moveBesideMenu(this);
}

void Form::showModeless()
{
    load();
    placeForShowing();
    if (!isVisible())
        setWindowModality(Qt::NonModal);
    show();
    raise();
    activateWindow();
}

void Form::showModal()
{
    load();
    placeForShowing();
    if (!isVisible())
        setWindowModality(Qt::ApplicationModal);
    show();
    raise();
    activateWindow();
}

void Form::reject()
{
    // Esc: the cancel button's click, when the window has an enabled one.
    if (cancelButton_ && cancelButton_->isEnabled() && cancelButton_->isVisible())
        cancelButton_->click();
}

void Form::closeEvent(QCloseEvent* event)
{
    if (surface_ && !Form_QueryUnload()) {
        event->ignore();
        return;
    }
    if (surface_) {
        Form_Unload();
        // Taken out of the window at once (a reopened window builds anew) and
        // deleted later, since a button of it may be the sender of this close.
        QWidget* surface = surface_;
        surface_ = nullptr;
        cancelButton_ = nullptr;
        surface->hide();
        surface->setParent(nullptr);
        surface->deleteLater();
        emit unloaded();
    }
    event->accept();
}

void Form::hideEvent(QHideEvent* event)
{
    // A minimised window keeps its place; one that closes is reopened there.
    if (!event->spontaneous())
        lastPosition_ = geometry().topLeft();
    QDialog::hideEvent(event);
}

void chainTabOrder(std::initializer_list<QWidget*> widgets)
{
    QWidget* previous = nullptr;
    for (QWidget* widget : widgets) {
        if (previous)
            QWidget::setTabOrder(previous, widget);
        previous = widget;
    }
}

} // namespace kerf::ui
