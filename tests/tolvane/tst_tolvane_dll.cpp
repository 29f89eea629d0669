// The stand-in Tolvane.dll as a program that binds it by name sees it: every
// card and tvnsim_* function is exported under its plain name, none
// decorated, and each can be called with zero and null arguments. On 32-bit
// Windows each call must also leave the stack as it found it: the card
// maker's DLL is __stdcall, and a callee built with another convention or
// another argument size would corrupt every caller's stack.
#include <QCoreApplication>
#include <QDir>
#include <QTest>

#include <windows.h>

#include <cstdint>
#include <string>
#include <type_traits>
#include <vector>

#include "cardlib/tvn_call.h"

#if defined(_M_IX86) || defined(__i386__)
#define TVN_STACK_CHECK 1
extern "C" int32_t TvnStackChange(const void* function, uint32_t argumentBytes, int floatResult);
#endif

namespace {

// What a function of type `void(A...)` takes on the 32-bit stack: each
// argument widened to 4 bytes, a double 8.
template <typename F>
struct Signature;

template <typename... A>
struct Signature<void(A...)> {
    static constexpr uint32_t kBytes = (0u + ... + static_cast<uint32_t>((sizeof(A) + 3) / 4 * 4));

    // Calls the function at `address` with each argument zero or null.
    template <typename R>
    static void CallWithZeros(FARPROC address)
    {
        const auto function = reinterpret_cast<R(TVN_CALL*)(A...)>(reinterpret_cast<void*>(address));
        [[maybe_unused]] const R result = function(A{}...);
    }
};

struct Export {
    const char* name;
    uint32_t argumentBytes;
    bool floatResult;
    void (*callWithZeros)(FARPROC);
};

const std::vector<Export>& Exports()
{
    static const std::vector<Export> exports = {
#define TVN_FUNCTION(result, name, params, answer)                            \
    {#name, Signature<void params>::kBytes, std::is_floating_point_v<result>, \
     &Signature<void params>::CallWithZeros<result>},
#include "cardlib/tvn_functions.h"
#undef TVN_FUNCTION
#define TVN_MACHINE_FUNCTION(result, name, params)                            \
    {#name, Signature<void params>::kBytes, std::is_floating_point_v<result>, \
     &Signature<void params>::CallWithZeros<result>},
#include "cardlib/machine_functions.h"
#undef TVN_MACHINE_FUNCTION
    };
    return exports;
}

} // namespace

class TestTolvaneDll : public QObject {
    Q_OBJECT

    HMODULE library_ = nullptr;

    FARPROC Address(const QByteArray& name) const { return GetProcAddress(library_, name.constData()); }

    static void AddFunctionRows()
    {
        QTest::addColumn<int>("index");
        for (size_t i = 0; i < Exports().size(); ++i)
            QTest::newRow(Exports()[i].name) << static_cast<int>(i);
    }

private slots:
    void initTestCase()
    {
        // The build's own, beside the programs; the tests' folder holds the
        // tests' build of it.
        const QString path = QDir::toNativeSeparators(
            QDir(QCoreApplication::applicationDirPath()).absoluteFilePath(QStringLiteral("../bin/Tolvane.dll")));
        library_ =
            LoadLibraryExW(reinterpret_cast<const wchar_t*>(path.utf16()), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
        QVERIFY2(library_, qPrintable(QStringLiteral("%1: error %2").arg(path).arg(GetLastError())));
    }

    void cleanupTestCase()
    {
        if (library_)
            FreeLibrary(library_);
    }

    // Looked up as a program binding it by name would; a decorated name
    // (name@N, as a __stdcall symbol is called inside a 32-bit program) must
    // not be what the DLL exports.
    void exportedPlainly_data() { AddFunctionRows(); }
    void exportedPlainly()
    {
        QFETCH(int, index);
        const Export& e = Exports()[static_cast<size_t>(index)];
        QVERIFY2(Address(e.name), "not exported");
        const QByteArray decorated = QByteArray(e.name) + '@' + QByteArray::number(e.argumentBytes);
        QVERIFY2(!Address(decorated), decorated.constData());
        QVERIFY(!Address('_' + decorated));
    }

    // Zero card numbers, zero values and null pointers: the stand-in answers
    // a status, the card maker's library does the same.
    void callableWithZeros_data() { AddFunctionRows(); }
    void callableWithZeros()
    {
        QFETCH(int, index);
        const Export& e = Exports()[static_cast<size_t>(index)];
        const FARPROC address = Address(e.name);
        QVERIFY(address);
#ifdef TVN_STACK_CHECK
        const int32_t change =
            TvnStackChange(reinterpret_cast<const void*>(address), e.argumentBytes, e.floatResult ? 1 : 0);
        QVERIFY2(change == 0, qPrintable(QStringLiteral("%1 bytes pushed, the stack moved by %2 across the call")
                                             .arg(e.argumentBytes)
                                             .arg(change)));
#else
        e.callWithZeros(address);
#endif
    }

    // The thunk itself tells a callee that pops from one that does not.
    void stackCheckSeesTheConvention()
    {
#ifdef TVN_STACK_CHECK
        // lstrlenA is __stdcall with one pointer argument; the C library's
        // abs is __cdecl, and leaves its argument to the caller.
        const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
        const auto stdcallFunction = reinterpret_cast<const void*>(GetProcAddress(kernel, "lstrlenA"));
        QCOMPARE(TvnStackChange(stdcallFunction, 4, 0), 0);
        const HMODULE crt = LoadLibraryW(L"msvcrt.dll");
        QVERIFY(crt);
        const auto cdeclFunction = reinterpret_cast<const void*>(GetProcAddress(crt, "abs"));
        QCOMPARE(TvnStackChange(cdeclFunction, 4, 0), -4);
        QVERIFY(TvnStackChange(stdcallFunction, 8, 0) != 0);
#else
        QSKIP("64-bit Windows has one calling convention: the caller cleans up");
#endif
    }
};

QTEST_GUILESS_MAIN(TestTolvaneDll)
#include "tst_tolvane_dll.moc"
