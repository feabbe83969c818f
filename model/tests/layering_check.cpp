// Linked with the whole model library and lib13818 only: building it is the check.
int main() { return 0; }
