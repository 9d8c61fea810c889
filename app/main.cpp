// pemvora: the cheque program.
#include "app/startup/startup.h"

int main(int argc, char** argv) { return pemvora::app::runPemvora(argc, argv); }
