// Programs and libraries planted beside tarnwell-cli.exe and in its current
// folder under the system's names, as a web page or an archive would leave
// them in Downloads, with Wine told to prefer them to its own: none runs, and
// the real requests still go out. A plant that ran left "NAME.ran" beside
// itself; one still running when the program ends is found in its job.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A path CMake gave, as Wine's Z: drive (the Unix root) shows it.
std::string FromCMake(const char* name) {
    char value[MAX_PATH] = {};
    std::string path(value, GetEnvironmentVariableA(name, value, sizeof value));
    for (char& c : path) c = c == '/' ? '\\' : c;
    return "Z:" + path;
}

std::vector<std::string> Files(const std::string& folder, const char* pattern) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    const HANDLE find = FindFirstFileA((folder + "\\" + pattern).c_str(), &found);
    for (bool more = find != INVALID_HANDLE_VALUE; more; more = FindNextFileA(find, &found)) {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(folder + "\\" + found.cFileName);
    }
    if (find != INVALID_HANDLE_VALUE) FindClose(find);
    return names;
}

TEST(Plants, NoneRunsAndTheRealRequestsGoOut) {
    const std::string root = FromCMake("TW_PLANT_DIR"), cli = root + "\\app\\tarnwell-cli.exe";
    for (const std::string& folder : {root, root + "\\app", root + "\\current"}) {
        CreateDirectoryA(folder.c_str(), nullptr);
        for (const std::string& old : Files(folder, "*")) DeleteFileA(old.c_str());
        if (folder == root) continue;
        for (const char* name : {"rundll32.exe", "dfrgui.exe", "fmifs.dll", "mpr.dll", "winmm.dll"}) {
            const bool library = std::string(name).ends_with(".dll");
            const std::string plant = FromCMake(library ? "TW_PLANT_LIBRARY" : "TW_PLANT_PROGRAM");
            ASSERT_TRUE(CopyFileA(plant.c_str(), (folder + "\\" + name).c_str(), FALSE)) << name;
        }
    }
    ASSERT_TRUE(CopyFileA(FromCMake("TW_PLANT_CLI").c_str(), cli.c_str(), FALSE));

    // The script and the output in files: what the program starts may hold their handles.
    const std::string script = "list\nclick RemoveUSBDrive1\nclick Defrag1\nclick CloseDefaultCD1\nclick CheckDisk1\n";
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    const HANDLE out = CreateFileA((root + "\\output").c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_WRITE,
                                   &inherit, CREATE_ALWAYS, FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    const HANDLE in = CreateFileA((root + "\\script").c_str(), GENERIC_READ | GENERIC_WRITE, 0, &inherit, CREATE_ALWAYS,
                                  FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    DWORD done = 0;
    WriteFile(in, script.data(), static_cast<DWORD>(script.size()), &done, nullptr);
    SetFilePointer(in, 0, nullptr, FILE_BEGIN);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = in;
    startup.hStdOutput = startup.hStdError = out;
    std::string command = "\"" + cli + "\" script -";
    PROCESS_INFORMATION process{};
    const HANDLE job = CreateJobObjectA(nullptr, nullptr);
    ASSERT_TRUE(CreateProcessA(cli.c_str(), command.data(), nullptr, nullptr, TRUE, CREATE_SUSPENDED, nullptr,
                               (root + "\\current").c_str(), &startup, &process));
    AssignProcessToJobObject(job, process.hProcess);
    ResumeThread(process.hThread);
    WaitForSingleObject(process.hProcess, INFINITE);

    // What it started may still run: the real rundll32, or a plant.
    struct {
        JOBOBJECT_BASIC_PROCESS_ID_LIST list;
        ULONG_PTR more[63];
    } ids{};
    QueryInformationJobObject(job, JobObjectBasicProcessIdList, &ids, sizeof ids, nullptr);
    for (DWORD i = 0; i < ids.list.NumberOfProcessIdsInList; ++i) {
        const HANDLE running = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, ids.list.ProcessIdList[i]);
        char image[MAX_PATH] = {};
        DWORD size = sizeof image;
        if (running && QueryFullProcessImageNameA(running, 0, image, &size)) {
            EXPECT_NE(_strnicmp(image, root.c_str(), root.size()), 0) << "a plant runs: " << image;
        }
        if (running) CloseHandle(running);
    }
    std::string output(GetFileSize(out, nullptr), '\0');
    SetFilePointer(out, 0, nullptr, FILE_BEGIN);
    ReadFile(out, output.data(), static_cast<DWORD>(output.size()), &done, nullptr);
    for (HANDLE h : {process.hThread, process.hProcess, job, in, out}) CloseHandle(h);

    char system[MAX_PATH] = {};
    GetSystemDirectoryA(system, sizeof system);
    EXPECT_NE(output.find("[run] WinExec \"\"" + std::string(system) + "\\rundll32.exe\" \""), std::string::npos)
        << output;
    EXPECT_NE(output.find("file=\"" + std::string(system) + "\\dfrg"), std::string::npos) << output;
    EXPECT_NE(output.find("[window] TfrmCheckDisk"), std::string::npos) << output;
    std::vector<std::string> ran = Files(root + "\\app", "*.ran");
    for (const std::string& name : Files(root + "\\current", "*.ran")) ran.push_back(name);
    EXPECT_EQ(ran, std::vector<std::string>{});
}

}  // namespace
