// The empty-program floor: a C++ program linked like applist-check that does
// nothing, so its run time is what process start and exit cost here.
int main() { return 0; }
