// Resource ids of the "Drive Benchmark" window, shared by its template and
// its code.
#pragma once

#define IDD_BENCH_MARK 800
#define IDC_BENCH_DRIVE_LABEL 801
#define IDC_BENCH_DRIVE 802
#define IDC_BENCH_SIZE_LABEL 803
#define IDC_BENCH_SIZE 804
#define IDC_BENCH_START 805
#define IDC_BENCH_CANCEL 806
#define IDC_BENCH_COPY 807
#define IDC_BENCH_PROGRESS 808
#define IDC_BENCH_CHART 809
#define IDC_BENCH_LOG 810
