Scene {
}
