#pragma once
// What the updater window tests share: the replies and files of updaterreplies.h
// and a fixture with a fresh data file and a window per test.

#include "testablefmain.h"
#include "updaterreplies.h"
#include "fakeservices.h"

#include <QTemporaryDir>
#include <memory>

class UpdaterFixture : public QObject {
protected:
    // A fresh folder with the old data file, its name with a blank and Japanese.
    void prepareDataFile()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_local = m_dir->filePath(QStringLiteral("リスト a.txt"));
        writeFile(m_local, OldBody);
    }
    std::unique_ptr<TestableFMain> window(int timeoutMs = 1500)
    {
        auto w = std::make_unique<TestableFMain>(m_fakes.services());
        w->Inet1().setTimeoutMilliseconds(timeoutMs);
        return w;
    }
    void waitIdle(TestableFMain &w) { QTRY_VERIFY_WITH_TIMEOUT(!w.Inet1().busy(), 15000); }

    platform::fake::FakeServiceSet m_fakes;
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_local;
};
