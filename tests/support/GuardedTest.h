#pragma once

#include <QByteArray>
#include <QMetaObject>
#include <QTest>

#include <exception>

// A test object whose test functions run guarded: an exception that leaves
// one (or its data function, init() or cleanup()) fails that function, with
// the exception's text, and the run goes on with the next; QtTest alone ends
// the whole program there, so that one slip hides every later result.
// QtTest calls the functions through the object's meta-object; this one is a
// copy of Test's whose call function runs Test's inside a try block. (moc
// fills the copied structure; Qt keeps its layout for all of Qt 6.)
template<typename Test>
class GuardedTest : public Test
{
public:
    const QMetaObject *metaObject() const override { return &guardedMetaObject(); }

private:
    static void call(QObject *object, QMetaObject::Call kind, int id, void **arguments)
    {
        try {
            Test::staticMetaObject.d.static_metacall(object, kind, id, arguments);
        } catch (const std::exception &e) {
            QTest::qFail(QByteArray("Unexpected exception: ").append(e.what()).constData(), __FILE__, __LINE__);
        } catch (...) {
            QTest::qFail("Unexpected exception", __FILE__, __LINE__);
        }
    }

    static const QMetaObject &guardedMetaObject()
    {
        static const QMetaObject guarded = [] {
            QMetaObject copy = Test::staticMetaObject;
            copy.d.static_metacall = &GuardedTest::call;
            return copy;
        }();
        return guarded;
    }
};

// QtTest's main functions for a test object, guarded.
#define TABLORA_TEST_MAIN(TestObject) QTEST_MAIN(GuardedTest<TestObject>)
#define TABLORA_GUILESS_TEST_MAIN(TestObject) QTEST_GUILESS_MAIN(GuardedTest<TestObject>)
#define TABLORA_APPLESS_TEST_MAIN(TestObject) QTEST_APPLESS_MAIN(GuardedTest<TestObject>)
