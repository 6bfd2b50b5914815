// A program outside the project, built against the installed library.
#include <Feldrin.h>

#include <cstdio>

int main()
{
    const tarnel::TCplx a = tarnel::Cplx(1, 2), b = tarnel::Cplx(3, 4);
    const tarnel::TCplx p = tarnel::CMul(a, b);
    std::printf("CMul = (%g, %g)\n", p.Re, p.Im);
    return 0;
}
