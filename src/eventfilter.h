#pragma once

#include <QObject>
#include <functional>

// Makes the on-screen keyboard follow the input focus. Installed on the view
// and on its engine, it looks at the object holding the input focus at every
// event: when an object that accepts text input gains the focus after none did,
// it asks the input method to show its panel; when no such object is left, it
// asks it to hide the panel. Moving from one text field straight to another
// sends nothing. Events always pass on untouched.
class EventFilter : public QObject {
    Q_OBJECT

public:
    using PanelRequest = std::function<void()>;

    // Shows and hides the panel of QGuiApplication::inputMethod().
    explicit EventFilter(QObject *parent = nullptr);
    // Calls the given requests instead; for hosts with a panel of their own.
    EventFilter(PanelRequest showPanel, PanelRequest hidePanel, QObject *parent = nullptr);
    ~EventFilter() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    static QObject *inputFocusObject();

    PanelRequest m_showPanel;
    PanelRequest m_hidePanel;
    // Whether an object accepting text input held the focus at the end of the
    // previous event.
    bool m_hadFocus = false;
};
