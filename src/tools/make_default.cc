// Placeholder until the generator of the default configuration exists.
#include <fstream>
int main(int argc, char** argv) {
  if (argc < 3) return 2;
  std::ofstream out(argv[2], std::ios::binary);
  for (int i = 0; i < 2048; ++i) out.put(0);
  return out ? 0 : 1;
}
