#include <QDir>
#include <QFile>

#include "settings_defaults.h"

TEST(CorruptSettings, GarbageFileReadsAsDefaults)
{
    const QString folder = qEnvironmentVariable("XDG_CONFIG_HOME") + "/Keplo";
    ASSERT_TRUE(QDir().mkpath(folder));
    QFile file(folder + "/Vuel.conf");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    static const char start[] = "\xff\xfe\x00[General\n\x01=\x02\n[[[]]]\n=\\\n%G%\n";
    QByteArray garbage(start, sizeof(start) - 1);
    for (int i = 0; i < 4096; ++i)
        garbage.append(static_cast<char>((i * 7919 + 13) % 256));
    file.write(garbage);
    file.close();

    ExpectAllDefaults();
}
