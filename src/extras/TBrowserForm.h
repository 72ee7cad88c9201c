#pragma once

#include <QDialog>

class QPushButton;
class QWebEngineView;

// The information window: an embedded web view that shows one local page,
// with its script running, and an "OK" button that closes the window.
class TBrowserForm : public QDialog
{
    Q_OBJECT

public:
    explicit TBrowserForm(QWidget *parent = nullptr);

    // Shows the local file at path; its script runs once the page has loaded.
    void navigate(const QString &path);

    QWebEngineView *webBrowser() const { return WebBrowser1; }

private:
    void BitBtn1Click();

    QWebEngineView *WebBrowser1 = nullptr;
    QPushButton *BitBtn1 = nullptr;
};
