#pragma once
// The module simulator as a separate process on a pseudo-terminal, and the
// demo project, both made by the built programs (directory PX920_BIN).
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QThread>
#include <csignal>
#include <sys/prctl.h>

inline QString BuiltProgram(const QString& name)
{
    QString dir = qEnvironmentVariable("PX920_BIN");
    if (dir.isEmpty()) dir = QCoreApplication::applicationDirPath() + "/../../../bin";
    return QDir(dir).filePath(name);
}

// Writes the demo project (text groups, options, composite lists) into dir.
inline bool MakeDemoProject(const QString& dir)
{
    QProcess p;
    p.start(BuiltProgram("px920"), {"demo", dir});
    return p.waitForFinished(20000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

class CSimProcess {
public:
    // The simulator keeps its lists in root/store and links its line to root/link.
    explicit CSimProcess(const QString& root) : m_root(root) {}
    ~CSimProcess() { Stop(); }
    CSimProcess(const CSimProcess&) = delete;
    CSimProcess& operator=(const CSimProcess&) = delete;

    bool Start(const QStringList& extra)
    {
        QDir().mkpath(m_root + "/store");
        QFile::remove(Link());
        QStringList args {"--store", m_root + "/store", "--link", Link(), "--log", LogPath()};
        args << extra;
        // The simulator ends with the test, even when the test dies.
        m_process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
        m_process.start(BuiltProgram("px920sim"), args);
        if (!m_process.waitForStarted(5000)) return false;
        QElapsedTimer t;
        t.start();
        // The link appears once the line is ready; the first log line follows it.
        while (t.elapsed() < 5000) {
            if (QFileInfo(Link()).isSymLink() && Log().contains("PX920 simulator on")) return true;
            QThread::msleep(5);
        }
        return false;
    }
    void Stop()
    {
        if (m_process.state() == QProcess::NotRunning) return;
        m_process.terminate();
        if (!m_process.waitForFinished(3000)) {
            m_process.kill();
            m_process.waitForFinished(1000);
        }
    }
    QString Link() const { return m_root + "/link"; }
    QString LogPath() const { return m_root + "/sim.log"; }
    QString Log() const
    {
        QFile f(LogPath());
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }

private:
    QString m_root;
    QProcess m_process;
};
