// The scene with 100,000 boxes more.
Scene {
    extraSimpleBoxes: 100000
}
