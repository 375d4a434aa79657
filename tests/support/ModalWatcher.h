#pragma once
// Closes every modal window that appears while it lives, and remembers what each one said:
// its object name and, for message boxes, the message.

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QTimer>

#include <functional>
#include <vector>

namespace kalvex::test {

class ModalWatcher {
public:
    struct Seen {
        QString name;
        QString text;
    };
    // Runs before a dialog is closed, to look at it.
    using Inspector = std::function<void(QWidget*)>;

    explicit ModalWatcher(Inspector inspect = {}) : inspect_(std::move(inspect)) {
        QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
        timer_.start(10);
    }

    const std::vector<Seen>& Dialogs() const { return seen_; }
    bool Saw(const QString& name) const {
        for (const Seen& s : seen_)
            if (s.name == name)
                return true;
        return false;
    }

private:
    void Poll() {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        Seen s{modal->objectName(), {}};
        if (auto* box = qobject_cast<QMessageBox*>(modal))
            s.text = box->text();
        seen_.push_back(s);
        if (inspect_)
            inspect_(modal);
        if (!modal->isVisible())
            return; // the inspector closed it its own way
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
        else
            modal->close();
    }

    Inspector inspect_;
    QTimer timer_;
    std::vector<Seen> seen_;
};

} // namespace kalvex::test
