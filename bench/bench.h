// The benchmark program's parts: each prints its figures.
#ifndef PDCLEAN_BENCH_BENCH_H
#define PDCLEAN_BENCH_BENCH_H

double Now();  // seconds, from the performance counter

void BenchTree();
void BenchRenameList();
void BenchRun2000();
void BenchCopies2000();
void BenchQueues();

#endif
