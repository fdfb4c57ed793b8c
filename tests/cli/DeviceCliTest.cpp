#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "RunProcess.h"
#include "TempDir.h"

namespace {

// px920sim running in the background on a link in the test's directory.
class SimProcess {
public:
    bool Start(const std::string& link, std::vector<std::string> options)
    {
        int out[2];
        if (pipe(out)) return false;
        m_pid = fork();
        if (m_pid == 0) {
            dup2(out[1], 1);
            close(out[0]);
            std::string path = BinDir() + "px920sim";
            std::vector<std::string> args {path, "--link", link};
            args.insert(args.end(), options.begin(), options.end());
            std::vector<char*> argv;
            for (auto& a : args) argv.push_back(a.data());
            argv.push_back(nullptr);
            execv(path.c_str(), argv.data());
            _exit(127);
        }
        close(out[1]);
        // The simulator prints its device once the line is ready.
        std::string line;
        char c;
        while (read(out[0], &c, 1) == 1 && c != '\n') line += c;
        close(out[0]);
        return line.rfind("/dev/", 0) == 0;
    }
    ~SimProcess()
    {
        if (m_pid > 0) {
            kill(m_pid, SIGTERM);
            int status;
            waitpid(m_pid, &status, 0);
        }
    }

private:
    pid_t m_pid = -1;
};

class DeviceCli : public ::testing::Test {
protected:
    void SetUp() override
    {
        project = tmp.path() + "demo";
        link = tmp.path() + "px920";
        auto r = RunProgram("px920", {"demo", project});
        ASSERT_EQ(r.exitCode, 0) << r.err;
    }
    void StartSim(std::vector<std::string> options = {})
    {
        options.insert(options.end(), {"--store", tmp.path() + "store", "--log", tmp.path() + "sim.log"});
        ASSERT_TRUE(sim.Start(link, options));
    }
    ProcessResult Px(std::vector<std::string> args, const std::string& input = {})
    {
        args.insert(args.begin(), {"--port", link});
        return RunProgram("px920", args, {"PX920WIN_INI=" + tmp.path() + "x.ini"}, input);
    }
    std::string Log() const
    {
        auto b = tmp.Read("sim.log");
        return std::string(b.begin(), b.end());
    }
    static size_t Count(const std::string& text, const std::string& what)
    {
        size_t n = 0;
        for (size_t p = text.find(what); p != std::string::npos; p = text.find(what, p + 1)) ++n;
        return n;
    }
    TempDir tmp;
    std::string project, link;
    SimProcess sim;
};

}  // namespace

TEST_F(DeviceCli, LoadDirReadAndDeleteAgainstTheSimulator)
{
    StartSim();
    auto r = Px({"dir", project});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(Lines(r.out), (std::vector<std::string> {"Gesamtl\xC3\xA4nge: 0 Byte"}));

    r = Px({"load", project, "Textgruppen", "SDAT", "Optionen/ERST"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(Lines(r.out), (std::vector<std::string> {"TBEL: ok", "TSLA: ok", "TZUL: ok", "SDAT: ok", "ERST: ok"}));

    r = Px({"dir", project});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    auto lines = Lines(r.out);
    ASSERT_EQ(lines.size(), 6u);
    // Sections in order (T before C), then the fixed lists; five columns each.
    EXPECT_EQ(lines[0].substr(lines[0].find('\t')), "\tTBEL\t920\t\t" + std::to_string(tmp.Read("demo/TBEL.920").size()));
    EXPECT_EQ(lines[3], "Erstellbetrieb\tERST\t920\t\t" + std::to_string(tmp.Read("demo/ERST.920").size()));
    EXPECT_EQ(lines[4], "Systemdaten-Liste\tSDAT\t920\t\t" + std::to_string(tmp.Read("demo/SDAT.920").size()));
    size_t total = 0;
    for (const char* f : {"TBEL", "TSLA", "TZUL", "ERST", "SDAT"}) total += tmp.Read(std::string("demo/") + f + ".920").size();
    EXPECT_EQ(lines[5], "Gesamtl\xC3\xA4nge: " + std::to_string(total) + " Byte");

    // Read back over a damaged copy: the module's image replaces it.
    auto original = tmp.Read("demo/TSLA.920");
    auto damaged = original;
    damaged[10] ^= 0xFF;
    tmp.Write("demo/TSLA.920", damaged);
    r = Px({"read", project, "Textgruppen/TSLA"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(Lines(r.out), (std::vector<std::string> {"TSLA: ok"}));
    EXPECT_EQ(tmp.Read("demo/TSLA.920"), original);

    // Asked on the terminal: "no" deletes nothing.
    r = Px({"delete", project, "Textgruppen/TBEL"}, "n\n");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("Soll(en) das (die) selektierte(n) Objekt(e) wirklich gel\xC3\xB6scht werden?"), std::string::npos);
    r = Px({"delete", project, "Textgruppen", "--yes"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(Lines(r.out), (std::vector<std::string> {"TBEL: ok", "TSLA: ok", "TZUL: ok"}));
    // Deleting again: every failure is reported and the command goes on.
    r = Px({"delete", project, "Textgruppen/TBEL", "SDAT", "Textgruppen/TZUL", "--yes"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(Lines(r.out), (std::vector<std::string> {"SDAT: ok"}));
    EXPECT_EQ(Count(r.err, "nicht in PX920 vorhanden"), 2u) << r.err;

    std::string log = Log();
    EXPECT_NE(log.find("directory request T*"), std::string::npos);
    EXPECT_NE(log.find("load request type 10 BEL"), std::string::npos);
    EXPECT_NE(log.find("closing telegram"), std::string::npos);
}

TEST_F(DeviceCli, LoadStopsAtTheFirstRefusal)
{
    StartSim({"--eprom", "TSLA"});
    auto r = Px({"load", project, "Textgruppen"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(Lines(r.out), (std::vector<std::string> {"TBEL: ok"}));
    EXPECT_NE(r.err.find("Fehler 53: Liste TSLA.920 bereits im EPROM vorhanden."), std::string::npos) << r.err;
    // TZUL was never asked for.
    EXPECT_EQ(Log().find("ZUL"), std::string::npos);
}

TEST_F(DeviceCli, LinkFailures)
{
    struct Case {
        std::vector<std::string> simOptions;
        bool startSim;
        std::string message;
    };
    const Case cases[] = {
        {{}, false, "Fehler 60: Auf COM1 kann nicht zugegriffen werden."},
        {{"--fault", "no-enq-answer"}, true, "Fehler 62: PX920 antwortet nicht."},
        {{"--fault", "nak-stx"}, true, "Fehler 63: 3964R Treiber-Fehler, Fehler Code = 20."},
        {{"--fault", "bad-answer"}, true, "Fehler 67: PX920 meldet unbekannten Fehler, Fehler Code 0."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        SimProcess own;
        if (c.startSim) {
            auto options = c.simOptions;
            ASSERT_TRUE(own.Start(link, options));
        }
        auto r = Px({"load", project, "SDAT"});
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_TRUE(r.out.empty());
    }
}

TEST_F(DeviceCli, ReadOfAListTheModuleDoesNotHave)
{
    StartSim();
    auto before = tmp.Read("demo/TZUL.920");
    auto r = Px({"read", project, "Textgruppen/TZUL"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("Fehler 50: Liste TZUL.920 nicht in PX920 vorhanden"), std::string::npos) << r.err;
    EXPECT_EQ(tmp.Read("demo/TZUL.920"), before);
}
