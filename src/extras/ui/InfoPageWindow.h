#pragma once

#include <QDialog>

class QPushButton;
class QWebEngineView;

// The information window: an embedded web view that shows one local page,
// with its script running, and an "OK" button that closes the window. The
// page's pop-up menu holds only what works on it (copying, selecting,
// reloading), in the web view's own words: Russian where its translation is
// installed.
class InfoPageWindow : public QDialog
{
    Q_OBJECT

public:
    explicit InfoPageWindow(QWidget *parent = nullptr);

    // Shows the local file at path; its script runs once the page has loaded.
    void navigate(const QString &path);

private:
    void showPageMenu(const QPoint &at);

    QWebEngineView *m_webView = nullptr;
    QPushButton *m_okButton = nullptr;
};
