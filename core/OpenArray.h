// TOpenArray<T>: the read-only array parameter of the library's members (an array of Doubles, Singles, Integers,
// complex numbers or objects that the member reads during the call).
//
// A caller passes a brace list or any contiguous range:
//     v.SetIt(false, {1, 2, 3});            // a brace list, valid for the call
//     v.SetIt(false, samples);              // std::vector<double>, TSampleArray, double[N], std::span<const double>
//     c.Concat({&a, &b});                   // pointers to vectors
//     c.Concat(parts);                      // std::vector<TVec*>: pointers to a derived class are read as T
// The view neither owns nor copies: it refers to the caller's elements, so it is a parameter type and is not kept
// past the call (a brace list lives until the end of the full expression that calls the member).
//
// A brace list converts its entries to T with the rules of list-initialization, so a narrowing entry is ill-formed:
// a constant that would change (2.5 for an Integer array) does not compile, and a variable whose type narrows (a
// double for a Single array, even an int for a Double array) is refused too (g++ reports that case through
// -Wnarrowing, on by default). A range must hold T itself (const or not); the one conversion allowed is from pointers
// to a derived class to an array of pointers to its base, read entry by entry. Writable arrays stay std::span<T>.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <iterator>
#include <ranges>
#include <type_traits>

namespace tarnel {

namespace detail {

// The element type a range holds (const removed).
template <class R>
using OpenArrayEntry = std::remove_cvref_t<std::ranges::range_reference_t<R>>;

// The ranges a TOpenArray<T> is made from: in one piece, holding T itself, or pointers that convert to the pointer
// type T (to a derived class, or to a class with fewer qualifiers).
template <class R, class T>
concept OpenArrayRange = std::ranges::contiguous_range<R> && std::ranges::sized_range<R> &&
    (std::is_same_v<OpenArrayEntry<R>, T> ||
     (std::is_pointer_v<T> && std::is_pointer_v<OpenArrayEntry<R>> && std::is_convertible_v<OpenArrayEntry<R>, T>));

}  // namespace detail

template <class T>
class TOpenArray {
    static_assert(!std::is_const_v<T> && !std::is_reference_v<T>, "TOpenArray<T> names the element type itself");

public:
    using value_type = T;

    // Walks a pointer array entry by entry (an array of numbers is walked by address).
    class const_iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = T;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = T;

        const_iterator() = default;
        T operator*() const { return (*FArray)[FIndex]; }
        const_iterator& operator++()
        {
            ++FIndex;
            return *this;
        }
        const_iterator operator++(int)
        {
            const_iterator old = *this;
            ++FIndex;
            return old;
        }
        bool operator==(const const_iterator& Other) const { return FIndex == Other.FIndex; }

    private:
        friend class TOpenArray;
        const_iterator(const TOpenArray* Array, std::size_t Index) : FArray(Array), FIndex(Index) {}
        const TOpenArray* FArray = nullptr;
        std::size_t FIndex = 0;
    };

    // The empty array (also what {} makes).
    TOpenArray() = default;

    TOpenArray(std::initializer_list<T> List) noexcept : FData(List.begin()), FSize(List.size()) {}

    template <detail::OpenArrayRange<T> R>
    TOpenArray(R&& Range) noexcept : FData(std::ranges::data(Range)), FSize(std::ranges::size(Range))
    {
        using Entry = detail::OpenArrayEntry<R>;
        if constexpr (!std::is_same_v<Entry, T>) FRead = &ReadConverted<Entry>;
    }

    std::size_t size() const noexcept { return FSize; }
    bool empty() const noexcept { return FSize == 0; }

    // Entry I (unchecked, as an array index).
    T operator[](std::size_t I) const
    {
        if constexpr (std::is_pointer_v<T>) {
            if (FRead) return FRead(FData, I);
        }
        return static_cast<const T*>(FData)[I];
    }

    auto begin() const
    {
        if constexpr (std::is_pointer_v<T>)
            return const_iterator(this, 0);
        else
            return data();
    }
    auto end() const
    {
        if constexpr (std::is_pointer_v<T>)
            return const_iterator(this, FSize);
        else
            return data() + FSize;
    }

    // The entries in place: arrays of numbers always lie in place (pointer arrays may be read through a conversion).
    const T* data() const noexcept
    {
        static_assert(!std::is_pointer_v<T>, "an array of pointers is read through operator[] and its iterators");
        return static_cast<const T*>(FData);
    }

private:
    template <class E>
    static T ReadConverted(const void* Data, std::size_t I)
    {
        return static_cast<const E*>(Data)[I];
    }

    using TRead = T (*)(const void*, std::size_t);
    struct TNoRead {};

    const void* FData = nullptr;
    std::size_t FSize = 0;
    // Set when the caller's entries are pointers of another type; arrays of numbers have no such member.
    [[no_unique_address]] std::conditional_t<std::is_pointer_v<T>, TRead, TNoRead> FRead{};
};

}  // namespace tarnel
