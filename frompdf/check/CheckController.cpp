#include "frompdf/check/CheckController.h"

#include <QThread>

CheckController::CheckController(QObject* parent)
    : QObject(parent)
{
}

void CheckController::setFileName(const QString& fileName)
{
    QMutexLocker lock(&m_answerMutex);
    m_fileName = fileName;
}

QString CheckController::fileName() const
{
    QMutexLocker lock(&m_answerMutex);
    return m_fileName;
}

void CheckController::setUseOcr(bool useOcr)
{
    QMutexLocker lock(&m_answerMutex);
    m_useOcr = useOcr;
}

bool CheckController::useOcr() const
{
    QMutexLocker lock(&m_answerMutex);
    return m_useOcr;
}

void CheckController::setApplyToAll(bool applyToAll)
{
    QMutexLocker lock(&m_answerMutex);
    m_applyToAll = applyToAll;
}

bool CheckController::applyToAll() const
{
    QMutexLocker lock(&m_answerMutex);
    return m_applyToAll;
}

void CheckController::setState(int state)
{
    QMutexLocker lock(&m_stateMutex);
    m_state = state;
}

int CheckController::state() const
{
    QMutexLocker lock(&m_stateMutex);
    return m_state;
}

bool CheckController::isWaiting() const
{
    return state() == 1;
}

void CheckController::askScanned()
{
    setUseOcr(false);
    setApplyToAll(false);
    {
        QMutexLocker lock(&m_stateMutex);
        if (m_closed) {
            m_state = 0;
            return;
        }
        m_state = 1;
    }
    emit requestForScanned();
}

CheckController::Answer CheckController::ask(const QString& fileName)
{
    setFileName(fileName);
    askScanned();
    while (isWaiting())
        QThread::msleep(10);
    Answer answer;
    answer.applyToAll = applyToAll();
    answer.useOcr = useOcr();
    return answer;
}

void CheckController::close()
{
    QMutexLocker lock(&m_stateMutex);
    m_closed = true;
    m_state = 0;
}
